#pragma once
// What the operating system says about this process's standard streams. Each system has its
// own implementation (posix/, win32/), chosen by the build.

#include "cli/terminal/TerminalAbilities.h"

namespace orv::cli {

// Which of standard input, output and error are terminals, and the width of the first of
// standard error, output and input that reports one. On Windows a terminal is a console, and
// virtual-terminal processing is turned on for the consoles of output and error where the
// console has it (Windows 10 and later), so that the facts can say they take control
// sequences. Call it from one thread, at start-up.
TerminalFacts ReadTerminalFacts();

}  // namespace orv::cli
