#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

#include "cli/terminal/StandardStreams.h"

namespace orv::cli {
namespace {

int WindowColumns(int descriptor) {
    winsize size{};
    if (ioctl(descriptor, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

}  // namespace

TerminalFacts ReadTerminalFacts() {
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
    return facts;
}

}  // namespace orv::cli
