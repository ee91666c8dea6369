#pragma once
// Where the password of a protected TM comes from. Never from a command-line argument: the
// arguments of a running program are visible to every user of the machine (ps, /proc).
//
// ResolvePassword applies the order:
//   1. a password file, when one is given: its first line;
//   2. the environment variable ORVBATCH_TM_PASSWORD, when it is set (even to nothing);
//   3. a prompt on the terminal, when prompting is allowed and standard input is a
//      terminal;
//   4. otherwise the empty password, which opens an unprotected TM.

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "cli/terminal/EnvironmentView.h"

namespace orv::cli {

// The first line of the file, without its line break (LF or CR LF) and without a UTF-8
// byte order mark, converted from the system's narrow encoding. An empty file gives the
// empty password; the result is never nullopt for a file that was read (the optional lets
// it stand in a row with the other sources). Pipes work, so a password manager can feed it
// (--password-file <(...)). Throws std::runtime_error naming the file when it cannot be
// read or its first line is longer than any password (64 KiB).
std::optional<std::wstring> ReadPasswordFile(const std::filesystem::path& file);

// True when the file's permissions let users other than its owner read it (group or other
// read bits; on Windows its access list, SecretFile.h). False for a file that cannot be
// examined.
bool ReadableByOthers(const std::filesystem::path& file);

// ORVBATCH_TM_PASSWORD: its value (set but empty: the empty password), or nullopt when it is
// not set.
std::optional<std::wstring> PasswordFromEnvironment(
    const EnvironmentView& environment = ProcessEnvironment());

// Asks on the controlling terminal (/dev/tty; on Windows the console, CONIN$: so it works
// while standard input is a pipe) with echo off, reads one line and ends the user's line with
// a newline. The terminal's settings are restored on every way out, also when SIGINT, SIGTERM
// or SIGQUIT (Ctrl-C, Ctrl-Break) arrives during the prompt: the signal then takes its usual
// course afterwards (by default it ends the process), and if the program survives it, this
// throws. Throws std::runtime_error when there is no terminal. Call it from one thread at a
// time, before the engine's threads start (TerminalLine.h).
std::wstring PromptPassword(const std::string& prompt);

// Asks `question` on the controlling terminal and reads one line, echoed; true for an answer
// that begins with "y" or "Y", false for anything else and for the end of input. Throws
// std::runtime_error when there is no terminal.
bool ConfirmOnTerminal(const std::string& question);

using PasswordPrompt = std::function<std::wstring(const std::string& prompt)>;

struct PasswordContext {
    // The prompt is used only when standard input is a terminal: a program fed from a pipe
    // or run by a scheduler must not stop to wait for a user.
    bool stdinIsTerminal = false;
    // Where the warning about a password file that others may read goes; none: no warning.
    std::ostream* warnings = nullptr;
    EnvironmentView environment;  // empty: the process's environment
    PasswordPrompt prompt;        // empty: PromptPassword
    std::string promptText = "TM password: ";
};

// The password by the order above. `passwordFile` empty: no file given. `allowPrompt` is the
// caller's switch for step 3 (off, say, for a TM that is known to be unprotected). Errors of
// the file and of the prompt propagate (std::runtime_error).
std::wstring ResolvePassword(const std::filesystem::path& passwordFile, bool allowPrompt,
                             const PasswordContext& context = {});

}  // namespace orv::cli
