#include <optional>
#include <stdexcept>

#include "cli/ProgramArguments.h"
#include "platform/NarrowText.h"
#include "platform/win32/WindowsApi.h"

// After <windows.h>, which it needs.
#include <shellapi.h>

namespace orv::cli {

ProgramArguments::ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        // Not to be expected; the C runtime's own conversion is still better than nothing.
        Keep(std::vector<std::string>(argv, argv + argc));
        return;
    }
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        const std::optional<std::string> narrow = ToNarrowExactly(wide[i]);
        if (!narrow) {
            LocalFree(wide);
            throw std::runtime_error("argument " + std::to_string(i) +
                                     " holds characters that the system's code page (" +
                                     NarrowEncodingName() +
                                     ") cannot represent; rename the file, or use its short "
                                     "name (dir /x)");
        }
        texts.push_back(*narrow);
    }
    LocalFree(wide);
    Keep(std::move(texts));
}

}  // namespace orv::cli
