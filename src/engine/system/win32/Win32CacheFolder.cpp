#include "engine/system/CacheFolder.h"
#include "platform/win32/WindowsApi.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace orv::engine {
namespace {

// A program's name is one folder's name (a colon would name a stream of a file).
constexpr std::wstring_view kNotInAName(L"\\/:\0", 4);

std::wstring EnvironmentValue(const wchar_t* name) {
    std::wstring value(260, L'\0');
    for (;;) {
        const DWORD got =
            GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (got < value.size()) {
            value.resize(got);  // 0: not set, or empty
            return value;
        }
        value.resize(got);  // the room it needs, its NUL included
    }
}

}  // namespace

std::optional<std::wstring> UserCacheFolder(const std::wstring& program) {
    if (program.empty() || program == L"." || program == L".." ||
        program.find_first_of(kNotInAName) != std::wstring::npos)
        return std::nullopt;
    // Local, not roaming: a cache has no business travelling with the user's profile. The
    // folder is the user's alone, so the files in it need no permissions of their own.
    std::wstring folder = EnvironmentValue(L"LOCALAPPDATA");
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (folder.empty()) return std::nullopt;
    return folder + L"\\" + program + L"\\cache";
}

bool EnsureFolder(const std::wstring& folder) {
    try {
        if (folder.empty() || folder.find(L'\0') != std::wstring::npos) return false;
        // New folders take their parent's permissions, as files do.
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        return std::filesystem::is_directory(folder, error);
    } catch (...) {
        return false;  // no memory for a path
    }
}

}  // namespace orv::engine
