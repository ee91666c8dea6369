#pragma once
// The orvbatch command line: its subcommands and options, their checks, and the exit code.

#include "cli/Console.h"

namespace orv::cli {

// Parses `argv` and runs the subcommand it names; returns the exit code (Console.h). Never
// throws: every failure is reported on `console.err`.
int RunCommandLine(int argc, const char* const* argv, Console& console);

}  // namespace orv::cli
