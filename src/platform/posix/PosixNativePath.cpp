#include "platform/NativePath.h"

#include "platform/NarrowText.h"

namespace orv {

std::optional<std::filesystem::path> ToNativePath(const std::wstring& path) {
    if (path.find(L'\0') != std::wstring::npos) return std::nullopt;
    auto narrow = ToNarrowExactly(path);
    if (!narrow) return std::nullopt;
    return std::filesystem::path(*narrow);
}

std::wstring FromNativePath(const std::filesystem::path& path) {
    return FromNarrow(path.native());
}

std::string NarrowPathText(const std::filesystem::path& path) {
    return path.string();
}

std::FILE* OpenNativeFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

}  // namespace orv
