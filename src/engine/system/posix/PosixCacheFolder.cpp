#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "engine/system/CacheFolder.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"

namespace orv::engine {
namespace {

namespace fs = std::filesystem;

// A program's name is one folder's name.
constexpr std::wstring_view kNotInAName(L"/\0", 2);

// An absolute path from the environment: a relative one would put the cache wherever the
// program happens to be started.
std::optional<std::wstring> AbsoluteFolderIn(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || value[0] != '/') return std::nullopt;
    std::wstring folder = FromNarrow(value);
    while (folder.size() > 1 && folder.back() == L'/') folder.pop_back();
    if (folder == L"/") folder.clear();
    return folder;
}

bool IsFolder(const fs::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool MakeFolders(const fs::path& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
    if (errno != ENOENT) return false;  // ENOTDIR: a file stands where a parent should
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !MakeFolders(parent)) return false;
    // The mode at once, not after: no moment when others could look in.
    if (::mkdir(folder.c_str(), 0700) == 0) return true;
    return errno == EEXIST && IsFolder(folder);  // made meanwhile by another process
}

}  // namespace

std::optional<std::wstring> UserCacheFolder(const std::wstring& program) {
    if (program.empty() || program == L"." || program == L".." ||
        program.find_first_of(kNotInAName) != std::wstring::npos)
        return std::nullopt;
    if (const std::optional<std::wstring> xdg = AbsoluteFolderIn("XDG_CACHE_HOME"))
        return *xdg + L"/" + program;
    if (const std::optional<std::wstring> home = AbsoluteFolderIn("HOME"))
        return *home + L"/.cache/" + program;
    return std::nullopt;
}

bool EnsureFolder(const std::wstring& folder) {
    try {
        const std::optional<fs::path> native = ToNativePath(folder);
        return native && !native->empty() && MakeFolders(*native);
    } catch (...) {
        return false;  // no memory for a path
    }
}

}  // namespace orv::engine
