#include "cli/terminal/StandardStreams.h"
#include "platform/win32/WindowsApi.h"

namespace orv::cli {
namespace {

// A console's handle has a console mode; a file, a pipe or the mintty window's pipe has none.
bool IsConsole(HANDLE stream, DWORD& mode) {
    return stream != nullptr && stream != INVALID_HANDLE_VALUE && GetConsoleMode(stream, &mode);
}

bool IsConsole(HANDLE stream) {
    DWORD mode = 0;
    return IsConsole(stream, mode);
}

// True when the console of `stream` interprets control sequences, with its processing turned
// on now if it was off; false for a console older than Windows 10, which refuses the mode.
bool TakesControlSequences(HANDLE stream) {
    DWORD mode = 0;
    if (!IsConsole(stream, mode)) return false;
    if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
    return SetConsoleMode(stream, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != FALSE;
}

int WindowColumns(HANDLE stream) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(stream, &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

}  // namespace

TerminalFacts ReadTerminalFacts() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    TerminalFacts facts;
    facts.stdinIsTerminal = IsConsole(input);
    facts.stdoutIsTerminal = IsConsole(output);
    facts.stderrIsTerminal = IsConsole(error);
    facts.stdoutTakesControlSequences = TakesControlSequences(output);
    facts.stderrTakesControlSequences = TakesControlSequences(error);
    // Standard input's console handle is no screen buffer and has no width of its own.
    for (const HANDLE stream : {error, output}) {
        if (!IsConsole(stream)) continue;
        facts.windowColumns = WindowColumns(stream);
        if (facts.windowColumns > 0) break;
    }
    return facts;
}

}  // namespace orv::cli
