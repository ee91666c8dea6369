#include "platform/StdFileSystem.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/AutomationError.h"
#include "platform/NativeFile.h"
#include "platform/NativePath.h"
#include "platform/TextCase.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

bool HasWildcard(const std::wstring& name) {
    return name.find_first_of(L"*?") != std::wstring::npos;
}

bool IsReadOnly(const fs::file_status& status) {
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

bool IsDenied(const std::error_code& error) {
    return error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
}

[[noreturn]] void RaiseDeleteError(const std::error_code& error) {
    RaiseRuntimeError(IsDenied(error) ? kErrPermissionDenied : kErrPathFileAccess);
}

// Windows refuses to delete a file with the read-only attribute, POSIX does not look at the
// file's own mode: a forced deletion clears the attribute first where it is in the way, and
// puts it back when the deletion fails all the same.
void RemoveForced(const fs::path& victim) {
    std::error_code error;
    if (fs::remove(victim, error) || !error) return;
    std::error_code unknown;
    const fs::file_status status = fs::status(victim, unknown);
    if (!IsDenied(error) || unknown || !IsReadOnly(status)) RaiseDeleteError(error);
    fs::permissions(victim, fs::perms::owner_write, fs::perm_options::add, unknown);
    if (unknown) RaiseDeleteError(error);
    std::error_code retried;
    if (fs::remove(victim, retried) || !retried) return;
    fs::permissions(victim, status.permissions(), fs::perm_options::replace, unknown);
    RaiseDeleteError(retried);
}

// The native path of a file to read or write; 52 when the text names none.
fs::path FilePath(const std::wstring& path) {
    auto native = ToNativePath(path);
    if (!native || native->empty()) RaiseRuntimeError(kErrBadFileName);
    return *native;
}

}  // namespace

bool StdFileSystem::FileExists(const std::wstring& path) const {
    auto native = ToNativePath(path);
    std::error_code ignored;
    return native && !native->empty() && fs::is_regular_file(*native, ignored);
}

bool StdFileSystem::FolderExists(const std::wstring& path) const {
    auto native = ToNativePath(path);
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
        auto native = ToNativePath(path);
        if (native && !native->empty() && fs::is_regular_file(*native, error)) {
            victims.push_back(*native);
        }
    } else {
        std::wstring folder =
            LastSeparator(path, style_) == std::wstring::npos ? L"." : FolderOfPath(path, style_);
        std::wstring pattern = style_ == PathStyle::Windows ? FoldCase(name) : name;
        auto native = ToNativePath(folder);
        fs::directory_iterator entry;
        if (native) entry = fs::directory_iterator(*native, error);
        for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
            std::wstring entryName = FromNativePath(entry->path().filename());
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
        if (force) {
            RemoveForced(victim);
        } else if (!fs::remove(victim, error) && error) {
            RaiseDeleteError(error);
        }
    }
}

std::string StdFileSystem::ReadFile(const std::wstring& path) const {
    return NativeFile::Open(FilePath(path), NativeFile::Access::Read).ReadAll();
}

void StdFileSystem::WriteFile(const std::wstring& path, const std::string& bytes) {
    NativeFile file = NativeFile::Open(FilePath(path), NativeFile::Access::Write);
    file.Write(bytes);
    file.Close();
}

}  // namespace orv
