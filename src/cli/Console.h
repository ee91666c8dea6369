#pragma once
// Where a command writes, and what the terminal around it can do: decided once per run.

#include <ostream>

#include "cli/terminal/TerminalAbilities.h"

namespace orv::cli {

// The exit codes a script can rely on.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;        // the analysis or a TM command failed
inline constexpr int kExitUsage = 2;          // the command line was wrong
inline constexpr int kExitInterrupted = 130;  // Ctrl-C, as shells report SIGINT

struct Console {
    std::ostream& out;
    std::ostream& err;
    TerminalAbilities terminal;
};

}  // namespace orv::cli
