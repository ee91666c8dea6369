#pragma once
// The console shows the command line's text (CliText.h) while this object lives. On Windows
// its output code page is UTF-8 meanwhile and the one it had again afterwards, as the console
// outlives the program; a program without a console, or with its output in a file or a pipe,
// writes the same bytes. On POSIX the terminal reads the locale's encoding already, and
// nothing changes. One for the run, made in main. Each system has its own implementation
// (posix/, win32/), chosen by the build.

namespace orv::cli {

class ConsoleTextEncoding {
public:
    ConsoleTextEncoding();
    ~ConsoleTextEncoding();
    ConsoleTextEncoding(const ConsoleTextEncoding&) = delete;
    ConsoleTextEncoding& operator=(const ConsoleTextEncoding&) = delete;

private:
    [[maybe_unused]] unsigned savedCodePage_ = 0;  // 0: nothing to restore (Windows only)
};

}  // namespace orv::cli
