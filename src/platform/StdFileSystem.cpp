#include "platform/StdFileSystem.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "platform/TextCase.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> NativePath(const std::wstring& path) {
    if (path.find(L'\0') != std::wstring::npos) return std::nullopt;
    auto narrow = ToNarrowExactly(path);
    if (!narrow) return std::nullopt;
    return fs::path(*narrow);
}

bool HasWildcard(const std::wstring& name) {
    return name.find_first_of(L"*?") != std::wstring::npos;
}

// "*" matches any run of characters, "?" exactly one. Backtracks only to the last "*",
// so the time stays proportional to name length times pattern length.
bool MatchesWildcard(const std::wstring& pattern, const std::wstring& name) {
    std::size_t p = 0, n = 0;
    std::size_t star = std::wstring::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            starName = n;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

bool IsReadOnly(const fs::file_status& status) {
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

[[noreturn]] void RaiseDeleteError(const std::error_code& error) {
    bool denied =
        error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
    RaiseRuntimeError(denied ? kErrPermissionDenied : kErrPathFileAccess);
}

}  // namespace

bool StdFileSystem::FileExists(const std::wstring& path) const {
    auto native = NativePath(path);
    std::error_code ignored;
    return native && !native->empty() && fs::is_regular_file(*native, ignored);
}

bool StdFileSystem::FolderExists(const std::wstring& path) const {
    auto native = NativePath(path);
    std::error_code ignored;
    return native && !native->empty() && fs::is_directory(*native, ignored);
}

std::wstring StdFileSystem::GetFileName(const std::wstring& path) const {
    return LastPathComponent(path, style_);
}

std::wstring StdFileSystem::GetBaseName(const std::wstring& path) const {
    return BaseNameOfPath(path, style_);
}

std::wstring StdFileSystem::GetExtensionName(const std::wstring& path) const {
    return ExtensionOfPath(path, style_);
}

void StdFileSystem::DeleteFile(const std::wstring& path, bool force) {
    std::wstring name = LastPathComponent(path, style_);
    std::vector<fs::path> victims;
    std::error_code error;
    if (!HasWildcard(name)) {
        auto native = NativePath(path);
        if (native && !native->empty() && fs::is_regular_file(*native, error)) {
            victims.push_back(*native);
        }
    } else {
        std::wstring folder =
            LastSeparator(path, style_) == std::wstring::npos ? L"." : FolderOfPath(path, style_);
        std::wstring pattern = style_ == PathStyle::Windows ? FoldCase(name) : name;
        auto native = NativePath(folder);
        fs::directory_iterator entry;
        if (native) entry = fs::directory_iterator(*native, error);
        for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
            std::wstring entryName = FromNarrow(entry->path().filename().native());
            if (style_ == PathStyle::Windows) entryName = FoldCase(entryName);
            std::error_code notAFile;
            if (MatchesWildcard(pattern, entryName) && entry->is_regular_file(notAFile)) {
                victims.push_back(entry->path());
            }
        }
        // A folder that cannot be read is refused like a file that cannot be deleted; one
        // that does not exist holds no matching file.
        if (error && error != std::errc::no_such_file_or_directory &&
            error != std::errc::not_a_directory) {
            RaiseDeleteError(error);
        }
    }
    if (victims.empty()) RaiseRuntimeError(kErrFileNotFound);

    if (!force) {
        for (const auto& victim : victims) {
            std::error_code unknown;
            if (IsReadOnly(fs::status(victim, unknown))) RaiseRuntimeError(kErrPermissionDenied);
        }
    }
    for (const auto& victim : victims) {
        // A file that vanished since it was listed is as good as deleted.
        if (!fs::remove(victim, error) && error) RaiseDeleteError(error);
    }
}

}  // namespace orv
