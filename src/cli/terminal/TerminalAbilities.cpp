#include "cli/terminal/TerminalAbilities.h"

#include <charconv>
#include <optional>
#include <string>

#include "cli/terminal/StandardStreams.h"

namespace orv::cli {
namespace {

constexpr int kDefaultColumns = 80;
constexpr int kMostColumns = 9999;

std::optional<int> ParseColumns(const std::optional<std::string>& text) {
    if (!text || text->empty()) return std::nullopt;
    int value = 0;
    const char* end = text->data() + text->size();
    auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end || value < 1 || value > kMostColumns) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

TerminalAbilities DecideTerminal(const TerminalFacts& facts, const EnvironmentView& environment) {
    const std::optional<std::string> term = environment("TERM");
    const std::optional<std::string> noColor = environment("NO_COLOR");
    const bool ansiTerm = term && !term->empty() && *term != "dumb";
    const bool dumbTerm = term && *term == "dumb";

    TerminalAbilities abilities;
    abilities.stdinIsTerminal = facts.stdinIsTerminal;
    abilities.stdoutIsTerminal = facts.stdoutIsTerminal;
    abilities.stderrIsTerminal = facts.stderrIsTerminal;
    const bool stdoutAnsi = ansiTerm || (facts.stdoutTakesControlSequences && !dumbTerm);
    const bool stderrAnsi = ansiTerm || (facts.stderrTakesControlSequences && !dumbTerm);
    // NO_COLOR set to any non-empty text disables colour; set but empty counts as unset.
    abilities.color = facts.stdoutIsTerminal && stdoutAnsi && (!noColor || noColor->empty());
    abilities.stderrAnsi = facts.stderrIsTerminal && stderrAnsi;
    if (facts.windowColumns > 0 && facts.windowColumns <= kMostColumns) {
        abilities.columns = facts.windowColumns;
    } else {
        abilities.columns = ParseColumns(environment("COLUMNS")).value_or(kDefaultColumns);
    }
    return abilities;
}

TerminalAbilities DetectTerminal(const EnvironmentView& environment) {
    return DecideTerminal(ReadTerminalFacts(), environment);
}

}  // namespace orv::cli
