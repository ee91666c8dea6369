#include <optional>
#include <stdexcept>

#include "cli/CliText.h"
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
        // Not to be expected; the C runtime's arguments, in the ANSI code page, are still
        // better than nothing.
        std::vector<std::string> texts;
        for (int i = 0; i < argc; ++i) texts.push_back(ToCliText(FromNarrow(argv[i])));
        Keep(std::move(texts));
        return;
    }
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        // Only a lone surrogate, which a file name may hold but no text can, fails here.
        const std::optional<std::string> text = ToCliTextExactly(wide[i]);
        if (!text) {
            LocalFree(wide);
            throw std::runtime_error("argument " + std::to_string(i) +
                                     " holds a character that is no Unicode text (a lone "
                                     "surrogate); rename the file, or use its short name "
                                     "(dir /x)");
        }
        texts.push_back(*text);
    }
    LocalFree(wide);
    Keep(std::move(texts));
}

}  // namespace orv::cli
