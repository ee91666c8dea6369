#include "cli/terminal/ConsoleTextEncoding.h"
#include "platform/win32/WindowsApi.h"

namespace orv::cli {

ConsoleTextEncoding::ConsoleTextEncoding() {
    // GetConsoleOutputCP gives 0 without a console.
    const UINT current = GetConsoleOutputCP();
    const UINT ansi = GetACP();
    if (current != 0 && current != ansi && SetConsoleOutputCP(ansi)) savedCodePage_ = current;
}

ConsoleTextEncoding::~ConsoleTextEncoding() {
    if (savedCodePage_ != 0) SetConsoleOutputCP(savedCodePage_);
}

}  // namespace orv::cli
