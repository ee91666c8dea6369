#include "platform/NativePath.h"

#include "platform/NarrowText.h"

#include <stdio.h>

namespace orv {

// The path is the wide text itself: no code page stands between a name and its file.
std::optional<std::filesystem::path> ToNativePath(const std::wstring& path) {
    if (path.find(L'\0') != std::wstring::npos) return std::nullopt;
    return std::filesystem::path(path);
}

std::wstring FromNativePath(const std::filesystem::path& path) {
    return path.native();
}

std::string NarrowPathText(const std::filesystem::path& path) {
    return ToNarrow(path.native());
}

std::FILE* OpenNativeFile(const std::filesystem::path& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}

}  // namespace orv
