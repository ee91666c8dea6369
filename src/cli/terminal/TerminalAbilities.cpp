#include "cli/terminal/TerminalAbilities.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <charconv>
#include <optional>
#include <string>
#include <utility>

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

int WindowColumns(int descriptor) {
    winsize size{};
    if (ioctl(descriptor, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

}  // namespace

TerminalAbilities DecideTerminal(const TerminalFacts& facts, const EnvironmentView& environment) {
    const std::optional<std::string> term = environment("TERM");
    const std::optional<std::string> noColor = environment("NO_COLOR");
    const bool ansiTerm = term && !term->empty() && *term != "dumb";
    // NO_COLOR set to any non-empty text disables colour; set but empty counts as unset.
    const bool colorAllowed = ansiTerm && (!noColor || noColor->empty());

    TerminalAbilities abilities;
    abilities.stdinIsTerminal = facts.stdinIsTerminal;
    abilities.stdoutIsTerminal = facts.stdoutIsTerminal;
    abilities.stderrIsTerminal = facts.stderrIsTerminal;
    abilities.color = facts.stdoutIsTerminal && colorAllowed;
    abilities.stderrAnsi = facts.stderrIsTerminal && ansiTerm;
    if (facts.windowColumns > 0 && facts.windowColumns <= kMostColumns) {
        abilities.columns = facts.windowColumns;
    } else {
        abilities.columns = ParseColumns(environment("COLUMNS")).value_or(kDefaultColumns);
    }
    return abilities;
}

TerminalAbilities DetectTerminal(const EnvironmentView& environment) {
    TerminalFacts facts;
    facts.stdinIsTerminal = isatty(STDIN_FILENO) == 1;
    facts.stdoutIsTerminal = isatty(STDOUT_FILENO) == 1;
    facts.stderrIsTerminal = isatty(STDERR_FILENO) == 1;
    const std::pair<bool, int> streams[] = {{facts.stderrIsTerminal, STDERR_FILENO},
                                            {facts.stdoutIsTerminal, STDOUT_FILENO},
                                            {facts.stdinIsTerminal, STDIN_FILENO}};
    for (const auto& [terminal, descriptor] : streams) {
        if (!terminal) continue;
        facts.windowColumns = WindowColumns(descriptor);
        if (facts.windowColumns > 0) break;
    }
    return DecideTerminal(facts, environment);
}

}  // namespace orv::cli
