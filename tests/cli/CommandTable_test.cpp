// What reads orvbatch's command table besides the parser: `orvbatch help TOPIC`, --version,
// the man page and the shell completion must say what the parser takes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "OrvBatchAnalyseVersion.h"
#include "cli/CommandLine.h"
#include "cli/CommandTable.h"
#include "cli/DocumentList.h"
#include "cli/ManPage.h"
#include "cli/ShellCompletion.h"
#include "cli/tm/LanguageArgument.h"
#include "cli/tm/UsageError.h"
#include "engine/formats/Document.h"
#include "platform/NarrowText.h"

namespace orv::cli::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

struct CommandRun {
    int exitCode;
    std::string out;
    std::string err;
};

CommandRun RunWords(std::vector<std::string> words) {
    words.insert(words.begin(), "orvbatch");
    std::vector<const char*> argv;
    for (const auto& word : words) argv.push_back(word.c_str());
    std::ostringstream out, err;
    Console console{out, err, TerminalAbilities{}};
    const int exitCode = RunCommandLine(static_cast<int>(argv.size()), argv.data(), console);
    return {exitCode, out.str(), err.str()};
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

TEST(HelpTopics, EachTopicPrintsExactlyTheHelpOfItsCommand) {
    for (const char* topic : {"analyse", "analyze", "tm", "tm create", "tm info", "tm add-user",
                              "tm remove-user", "options-template", "rates-template"}) {
        std::vector<std::string> help = Words(topic);
        help.insert(help.begin(), "help");
        std::vector<std::string> dashHelp = Words(topic);
        dashHelp.push_back("--help");
        const CommandRun byTopic = RunWords(help);
        const CommandRun byOption = RunWords(dashHelp);
        EXPECT_EQ(byTopic.exitCode, 0) << topic;
        EXPECT_EQ(byTopic.out, byOption.out) << topic;
        EXPECT_THAT(byTopic.out, HasSubstr("Usage:")) << topic;
    }
}

TEST(HelpTopics, AloneListsEveryCommandButTheToolsOwn) {
    const CommandRun run = RunWords({"help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* topic : {"analyse", "tm create", "tm remove-user", "rates-template"})
        EXPECT_THAT(run.out, HasSubstr("  " + std::string(topic) + " ")) << topic;
    EXPECT_THAT(run.out, Not(HasSubstr("  man ")));
    EXPECT_THAT(run.out, Not(HasSubstr("  complete ")));
}

TEST(HelpTopics, AnUnknownTopicIsAUsageErrorWithTheClosestName) {
    struct Case {
        std::vector<std::string> words;
        std::string message;
    };
    for (const Case& c : {Case{{"help", "tm", "craete"}, "did you mean \"create\""},
                          Case{{"help", "analyse", "more"}, "no help topic \"more\""},
                          Case{{"help", "man"}, "no help topic \"man\""}}) {
        const CommandRun run = RunWords(c.words);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_THAT(run.err, HasSubstr(c.message));
        EXPECT_THAT(run.out, IsEmpty());
    }
}

TEST(Version, IsTheProjectsVersion) {
    const CommandRun run = RunWords({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, std::string("orvbatch ") + kComponentVersion + "\n");
}

constexpr const char* kManTemplate =
    ".TH ORVBATCH 1 \"@DATE@\" \"orvbatch @VERSION@\"\n.SH SYNOPSIS\n@SYNOPSIS@\n"
    ".SH COMMANDS\n@COMMANDS@\n.SH EXIT STATUS\n";

// Every option of every command the user is shown, as the man page names it.
void CollectRoffOptionNames(const CLI::App& command, std::vector<std::string>& names) {
    for (const CLI::Option* option : NamedOptions(command)) {
        for (const auto& name : option->get_lnames()) {
            std::string roff = "\\-\\-";
            for (char c : name) roff += c == '-' ? std::string("\\-") : std::string(1, c);
            names.push_back("\\fB" + roff + "\\fR");
        }
    }
    for (const CLI::App* sub : VisibleSubcommands(command)) CollectRoffOptionNames(*sub, names);
}

TEST(ManPage, NamesEveryOptionOfEveryCommandAndNothingOfTheTools) {
    CommandArguments arguments;
    const auto app = MakeCommandTable(arguments);
    const std::string page = ManPageText(*app, kManTemplate, "9.8.7", "2030-01-02");
    std::vector<std::string> names;
    CollectRoffOptionNames(*app, names);
    ASSERT_GT(names.size(), 30u);
    for (const std::string& name : names) EXPECT_THAT(page, HasSubstr(name));
    for (const char* section : {".SS orvbatch analyse\n", ".SS orvbatch tm create\n",
                                ".SS orvbatch help\n", "\"2030-01-02\" \"orvbatch 9.8.7\""})
        EXPECT_THAT(page, HasSubstr(section));
    EXPECT_THAT(page, Not(HasSubstr("orvbatch man")));
    EXPECT_THAT(page, Not(HasSubstr("--template")));
    EXPECT_THAT(page, Not(HasSubstr("@")));
}

TEST(ManPage, ATemplateWithoutAPlaceholderLineIsRefused) {
    CommandArguments arguments;
    const auto app = MakeCommandTable(arguments);
    EXPECT_THROW(ManPageText(*app, ".SH SYNOPSIS\n@SYNOPSIS@\n", "1", "d"), UsageError);
    EXPECT_THROW(ManPageText(*app, "text @SYNOPSIS@\n@COMMANDS@\n", "1", "d"), UsageError);
}

TEST(ManPage, RoffTextCannotStartARequestOrAnEscape) {
    struct Case {
        const char* text;
        const char* roff;
    };
    for (const Case& c :
         {Case{"plain words", "plain words"}, Case{".TH x", "\\&.TH x"}, Case{"a\n'b", "a\n\\&'b"},
          Case{"C:\\dir", "C:\\edir"}, Case{"a.b 'c'", "a.b 'c'"}})
        EXPECT_EQ(RoffText(c.text), c.roff) << c.text;
}

CompletionReply Complete(const std::string& line) {
    CommandArguments arguments;
    const auto app = MakeCommandTable(arguments);
    std::vector<std::string> words = Words(line);
    if (line.empty() || line.back() == ' ') words.emplace_back();
    return CompleteCommandLine(*app, words);
}

TEST(ShellCompletion, AValueGivenWithEqualsTakesNoFurtherWord) {
    // "--tm=x.tmx" carries its value: the next word is a document again, not the TM's value.
    const CompletionReply reply = Complete("analyse --tm=x.tmx ");
    EXPECT_FALSE(reply.extensions.empty());
    EXPECT_FALSE(reply.anyFile);
    // "--tm x.tmx": likewise after the value.
    EXPECT_FALSE(Complete("analyse --tm x.tmx ").extensions.empty());
    // A flag takes no value either.
    EXPECT_FALSE(Complete("analyse -r ").extensions.empty());
    EXPECT_TRUE(Complete("analyse --tm ").anyFile);
}

TEST(ShellCompletion, EveryLanguageOfferedIsOneTheParserTakes) {
    const std::vector<std::string> choices = LanguageArgumentChoices();
    ASSERT_GT(choices.size(), 100u);
    EXPECT_THAT(choices, Contains("de-DE"));
    EXPECT_THAT(choices, Contains("0x0407"));
    for (const std::string& choice : choices) {
        EXPECT_NO_THROW(ParseLanguageArgument(choice)) << choice;
    }
}

TEST(ShellCompletion, DocumentExtensionsAreThoseAFolderScanTakes) {
    const CompletionReply reply = Complete("analyse ");
    std::vector<std::string> engine;
    for (const auto& extension : engine::KnownDocumentExtensions())
        engine.push_back(ToNarrow(extension));
    EXPECT_EQ(reply.extensions, engine);
    for (const std::string& extension : reply.extensions)
        EXPECT_TRUE(IsDocumentFile("a." + extension)) << extension;
    EXPECT_FALSE(IsDocumentFile("a.png"));
}

}  // namespace
}  // namespace orv::cli::test
