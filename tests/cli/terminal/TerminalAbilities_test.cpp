#include "cli/terminal/TerminalAbilities.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cli/terminal/ProgressPrinter.h"

namespace orv::cli {
namespace {

TEST(TerminalAbilitiesTest, ColourControlSequencesAndWidthFollowTheStreamsAndTheEnvironment) {
    struct Case {
        const char* what;
        TerminalFacts facts;
        std::map<std::string, std::string> environment;
        bool color, stderrAnsi;
        int columns;
    };
    const TerminalFacts all{true, true, true, 120};
    const TerminalFacts noWidth{true, true, true, 0};
    const TerminalFacts console{true, true, true, 120, true, true};
    const Case cases[] = {
        {"a colour terminal", all, {{"TERM", "xterm-256color"}}, true, true, 120},
        {"NO_COLOR set", all, {{"TERM", "xterm"}, {"NO_COLOR", "1"}}, false, true, 120},
        {"NO_COLOR empty is unset", all, {{"TERM", "xterm"}, {"NO_COLOR", ""}}, true, true, 120},
        {"TERM=dumb", all, {{"TERM", "dumb"}}, false, false, 120},
        {"TERM unset", all, {}, false, false, 120},
        {"TERM empty", all, {{"TERM", ""}}, false, false, 120},
        {"output to a file", {true, false, true, 120}, {{"TERM", "xterm"}}, false, true, 120},
        {"errors to a file", {true, true, false, 120}, {{"TERM", "xterm"}}, true, false, 120},
        {"no terminal at all", {false, false, false, 0}, {{"TERM", "xterm"}}, false, false, 80},
        {"COLUMNS when no width", noWidth, {{"COLUMNS", "132"}}, false, false, 132},
        {"the window's width beats COLUMNS", all, {{"COLUMNS", "200"}}, false, false, 120},
        {"COLUMNS not a number", noWidth, {{"COLUMNS", "wide"}}, false, false, 80},
        {"COLUMNS with a tail", noWidth, {{"COLUMNS", "100x"}}, false, false, 80},
        {"COLUMNS zero", noWidth, {{"COLUMNS", "0"}}, false, false, 80},
        {"COLUMNS negative", noWidth, {{"COLUMNS", "-5"}}, false, false, 80},
        {"COLUMNS absurd", noWidth, {{"COLUMNS", "99999999999"}}, false, false, 80},
        {"a console that takes control sequences needs no TERM", console, {}, true, true, 120},
        {"but TERM=dumb still counts", console, {{"TERM", "dumb"}}, false, false, 120},
        {"and NO_COLOR too", console, {{"NO_COLOR", "1"}}, false, true, 120},
        {"a console that takes them on output only",
         {true, true, true, 120, true, false},
         {},
         true,
         false,
         120},
        {"a console that takes them, output to a file",
         {true, false, true, 120, false, true},
         {},
         false,
         true,
         120},
    };
    for (const Case& c : cases) {
        const TerminalAbilities abilities =
            DecideTerminal(c.facts, FixedEnvironment(c.environment));
        EXPECT_EQ(abilities.color, c.color) << c.what;
        EXPECT_EQ(abilities.stderrAnsi, c.stderrAnsi) << c.what;
        EXPECT_EQ(abilities.columns, c.columns) << c.what;
        EXPECT_EQ(abilities.stdinIsTerminal, c.facts.stdinIsTerminal) << c.what;
        EXPECT_EQ(abilities.stdoutIsTerminal, c.facts.stdoutIsTerminal) << c.what;
        EXPECT_EQ(abilities.stderrIsTerminal, c.facts.stderrIsTerminal) << c.what;
    }
}

TEST(TerminalAbilitiesTest, ProgressIsShownOnlyWhenStandardErrorIsATerminal) {
    const auto environment = FixedEnvironment({{"TERM", "xterm"}});
    const ProgressStyle onTerminal =
        ProgressStyleFor(DecideTerminal({false, false, true, 100}, environment));
    EXPECT_TRUE(onTerminal.enabled);
    EXPECT_TRUE(onTerminal.ansi);
    EXPECT_EQ(onTerminal.columns, 100);
    EXPECT_FALSE(ProgressStyleFor(DecideTerminal({true, true, false, 100}, environment)).enabled);
}

}  // namespace
}  // namespace orv::cli
