#pragma once
// One line read from the user at the terminal: the controlling terminal on POSIX (/dev/tty),
// the console on Windows (CONIN$), so that both work while standard input is a pipe. Each
// system has its own implementation (posix/, win32/), chosen by the build. Call them from one
// thread at a time, before the engine's threads start.

#include <cstddef>
#include <string>

namespace orv::cli {

// Writes `prompt`, reads one line with echo off and ends the user's line with a newline; the
// line comes back without its line end, at most `longest` characters of it. The terminal's
// settings are restored on every way out, also when an interrupt (SIGINT, SIGTERM, SIGQUIT;
// Ctrl-C, Ctrl-Break on Windows) arrives during the prompt: it then takes its usual course
// afterwards (by default it ends the process), and if the program survives it, this throws
// std::runtime_error. Throws std::runtime_error when there is no terminal or it cannot be read.
std::wstring ReadPasswordFromTerminal(const std::string& prompt, std::size_t longest);

// Writes `question` and reads one line, echoed: at most `longest` characters of it. Throws
// std::runtime_error when there is no terminal.
std::wstring ReadAnswerFromTerminal(const std::string& question, std::size_t longest);

}  // namespace orv::cli
