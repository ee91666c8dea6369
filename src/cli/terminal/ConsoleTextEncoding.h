#pragma once
// The console shows the command line's text, which is in the narrow encoding (NarrowText.h),
// while this object lives. On Windows a console starts in the OEM code page, in which the
// ANSI code page's "ü" of a file name prints as another letter; its output code page is the
// ANSI one meanwhile and the one it had again afterwards, as the console outlives the
// program. Output to a file or a pipe is the same bytes either way. On POSIX the terminal
// reads the locale's encoding already, and nothing changes. One for the run, made in main.
// Each system has its own implementation (posix/, win32/), chosen by the build.

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
