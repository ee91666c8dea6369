#include <atomic>
#include <iterator>
#include <stdexcept>

#include "cli/terminal/SecretBytes.h"
#include "cli/terminal/TerminalLine.h"
#include "cli/terminal/win32/OwnedHandle.h"
#include "cli/win32/Win32ErrorText.h"
#include "platform/NarrowText.h"
#include "platform/win32/WindowsApi.h"

namespace orv::cli {
namespace {

// The console itself, whatever standard input and output are redirected to.
HANDLE OpenConsole(const wchar_t* name) {
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

void WriteText(HANDLE console, const std::wstring& text) {
    DWORD written = 0;
    // The prompt is a courtesy; reading still works without it.
    WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// What the console control handler needs, set before it is installed; there is one prompt at
// a time. The handler runs on a thread of the system's, hence atomics.
std::atomic<HANDLE> promptInput{INVALID_HANDLE_VALUE};
std::atomic<DWORD> promptMode{0};
std::atomic<bool> promptInterrupted{false};

// Puts echo back at once and passes the event on (FALSE): to the program's own handler, else
// to the system's, which ends the program, with echo already on.
BOOL WINAPI RestoreConsoleOnInterrupt(DWORD controlType) {
    if (controlType != CTRL_C_EVENT && controlType != CTRL_BREAK_EVENT &&
        controlType != CTRL_CLOSE_EVENT)
        return FALSE;
    SetConsoleMode(promptInput.load(), promptMode.load());
    promptInterrupted.store(true);
    return FALSE;
}

// Echo off for its lifetime, with the handler that puts it back on an interrupt.
class EchoOff {
public:
    explicit EchoOff(HANDLE input) : input_(input) {
        if (!GetConsoleMode(input, &saved_))
            throw std::runtime_error("cannot read the console's settings: " +
                                     Win32ErrorText(GetLastError()));
        promptInput.store(input);
        promptMode.store(saved_);
        promptInterrupted.store(false);
        SetConsoleCtrlHandler(RestoreConsoleOnInterrupt, TRUE);
        // Line input, so that the console edits the line; processed input, so that Ctrl-C
        // stays an interrupt.
        const DWORD quiet =
            (saved_ | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~DWORD{ENABLE_ECHO_INPUT};
        if (!SetConsoleMode(input, quiet)) {
            const DWORD error = GetLastError();
            SetConsoleCtrlHandler(RestoreConsoleOnInterrupt, FALSE);
            throw std::runtime_error("cannot turn off the console's echo: " +
                                     Win32ErrorText(error));
        }
    }
    ~EchoOff() {
        SetConsoleMode(input_, saved_);
        SetConsoleCtrlHandler(RestoreConsoleOnInterrupt, FALSE);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    HANDLE input_;
    DWORD saved_ = 0;
};

enum class LineEnd { Enter, EndOfInput, Failed };

// Reads up to the Enter key (CR LF in line input) or Ctrl-Z, keeping at most `longest`
// characters; the console's buffer is wiped as it goes.
LineEnd ReadLine(HANDLE input, std::size_t longest, std::wstring& line) {
    wchar_t buffer[256];
    for (;;) {
        DWORD got = 0;
        const BOOL read = ReadConsoleW(input, buffer, DWORD{std::size(buffer)}, &got, nullptr);
        if (!read) {
            WipeSecret(buffer, sizeof buffer);
            return LineEnd::Failed;
        }
        if (got == 0) return LineEnd::EndOfInput;
        for (DWORD i = 0; i < got; ++i) {
            const wchar_t c = buffer[i];
            if (c == L'\n' || c == L'\x1A') {
                if (!line.empty() && line.back() == L'\r') line.pop_back();
                WipeSecret(buffer, sizeof buffer);
                return c == L'\n' ? LineEnd::Enter : LineEnd::EndOfInput;
            }
            if (line.size() < longest) line += c;
        }
        WipeSecret(buffer, sizeof buffer);
    }
}

}  // namespace

std::wstring ReadPasswordFromTerminal(const std::string& prompt, std::size_t longest) {
    OwnedHandle input(OpenConsole(L"CONIN$"));
    OwnedHandle output(OpenConsole(L"CONOUT$"));
    if (!input.valid() || !output.valid()) {
        throw std::runtime_error(
            "there is no console to ask for the TM password on; give a password file or "
            "set ORVBATCH_TM_PASSWORD");
    }
    std::wstring line;
    LineEnd end = LineEnd::Failed;
    DWORD error = 0;
    {
        EchoOff quiet(input.get());
        WriteText(output.get(), FromNarrow(prompt));
        end = ReadLine(input.get(), longest, line);
        if (end == LineEnd::Failed) error = GetLastError();
        WriteText(output.get(), L"\r\n");
    }
    if (promptInterrupted.load()) {
        WipeSecret(line);
        throw std::runtime_error("the password prompt was interrupted");
    }
    if (end == LineEnd::Failed) {
        WipeSecret(line);
        throw std::runtime_error("cannot read the password from the console: " +
                                 Win32ErrorText(error));
    }
    return line;
}

std::wstring ReadAnswerFromTerminal(const std::string& question, std::size_t longest) {
    OwnedHandle input(OpenConsole(L"CONIN$"));
    OwnedHandle output(OpenConsole(L"CONOUT$"));
    if (!input.valid() || !output.valid())
        throw std::runtime_error("there is no console to ask on");
    WriteText(output.get(), FromNarrow(question));
    std::wstring answer;
    ReadLine(input.get(), longest, answer);
    return answer;
}

}  // namespace orv::cli
