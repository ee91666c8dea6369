#include "engine/system/FileFailure.h"
#include "engine/system/SystemFile.h"
#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace orv::engine {
namespace {

using Use = FileUse;

// The one translation of the system's error codes.
FileProblem ProblemOf(DWORD error, Use use) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return FileProblem::NotFound;
        case ERROR_PATH_NOT_FOUND:
            return use == Use::Create ? FileProblem::FolderNotFound : FileProblem::NotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileProblem::AccessDenied;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileProblem::AlreadyExists;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileProblem::DiskFull;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return FileProblem::BadName;
        case ERROR_FILE_TOO_LARGE:
            return FileProblem::TooLarge;
        default:
            return OtherFailureOf(use);
    }
}

[[noreturn]] void Fail(Use use) {
    throw FileFailure(ProblemOf(GetLastError(), use));
}

const wchar_t* NativeName(const std::wstring& path) {
    if (path.empty() || path.find(L'\0') != std::wstring::npos)
        throw FileFailure(FileProblem::BadName);
    return path.c_str();
}

HANDLE Native(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t Held(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

// Others may read, write, replace and delete the file while the engine holds it open, as on
// POSIX: a writer renames a new TM over one that a reader holds locked.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A folder opens only with FILE_FLAG_BACKUP_SEMANTICS; with it, a folder is told as such.
constexpr DWORD kOpenFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS;

HANDLE OpenExisting(const std::wstring& path, DWORD access) {
    return CreateFileW(NativeName(path), access, kShareAll, nullptr, OPEN_EXISTING, kOpenFlags,
                       nullptr);
}

FileStatus StatusFrom(const BY_HANDLE_FILE_INFORMATION& info, DWORD type) {
    FileStatus status;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        status.kind = FileKind::Folder;
    else
        status.kind = type == FILE_TYPE_DISK ? FileKind::Regular : FileKind::Other;
    status.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    status.node = {info.dwVolumeSerialNumber,
                   (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    return status;
}

// Windows counts 100-nanosecond ticks from 1601; 0 stays "no time", and the far future, beyond
// what 64 bits of nanoseconds hold, is clamped.
std::int64_t UnixNanoseconds(std::int64_t ticks) {
    constexpr std::int64_t kTicksTo1970 = 116444736000000000;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 100;
    if (ticks == 0) return 0;
    const std::int64_t sinceUnix = ticks - kTicksTo1970;
    if (sinceUnix > kLimit) return kLimit * 100;
    if (sinceUnix < -kLimit) return -kLimit * 100;
    return sinceUnix * 100;
}

std::optional<FileStatus> StatusOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD type = GetFileType(handle);
    if (type != FILE_TYPE_DISK) {
        FileStatus other;  // a console, a pipe or a device
        return other;
    }
    if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
    FileStatus status = StatusFrom(info, type);
    // Only this call gives the change time; a file system without one (FAT) gives 0.
    FILE_BASIC_INFO times{};
    if (GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times)) {
        status.modifiedNs = UnixNanoseconds(times.LastWriteTime.QuadPart);
        status.changedNs = UnixNanoseconds(times.ChangeTime.QuadPart);
    } else {
        const std::uint64_t written = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                      info.ftLastWriteTime.dwLowDateTime;
        status.modifiedNs = UnixNanoseconds(static_cast<std::int64_t>(written));
    }
    return status;
}

// Locks are taken on one byte far beyond any file's end: a lock on Windows keeps other
// programs from reading the bytes it covers, and the engine's locks are only advisory.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockOffsetLow = 0xFFFFFFF0;

}  // namespace

SystemFile::SystemFile(SystemFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        if (handle_ != -1) CloseHandle(Native(handle_));
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

SystemFile::~SystemFile() {
    if (handle_ != -1) CloseHandle(Native(handle_));
}

SystemFile SystemFile::OpenToRead(const std::wstring& path) {
    const HANDLE handle = OpenExisting(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) Fail(Use::Open);
    return SystemFile(Held(handle));
}

SystemFile SystemFile::OpenToLock(const std::wstring& path, bool writable) {
    HANDLE handle = INVALID_HANDLE_VALUE;
    // DELETE too: a lock file of its own is removed through its handle (CloseRemovingUnlessLocked).
    if (writable) handle = OpenExisting(path, GENERIC_READ | GENERIC_WRITE | DELETE);
    if (handle == INVALID_HANDLE_VALUE) handle = OpenExisting(path, GENERIC_READ | DELETE);
    if (handle == INVALID_HANDLE_VALUE) handle = OpenExisting(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) Fail(Use::Open);
    return SystemFile(Held(handle));
}

SystemFile SystemFile::CreateNew(const std::wstring& path, bool) {
    // Owner-only or not, the file takes its folder's permissions: under the user's own local
    // application data folder, where the engine keeps its private files, they are the user's.
    const HANDLE handle = CreateFileW(NativeName(path), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) Fail(Use::Create);
    return SystemFile(Held(handle));
}

bool SystemFile::IsOpen() const noexcept {
    return handle_ != -1;
}

FileStatus SystemFile::Status() const {
    const std::optional<FileStatus> status = StatusOfHandle(Native(handle_));
    if (!status) Fail(Use::Open);
    return *status;
}

std::size_t SystemFile::Read(char* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD asked = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(Native(handle_), buffer, asked, &got, nullptr)) {
        // A pipe whose writer has gone ends like a file.
        if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
        Fail(Use::Read);
    }
    return got;
}

void SystemFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece =
            bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(Native(handle_), bytes.data(), piece, &written, nullptr)) Fail(Use::Write);
        if (written == 0) throw FileFailure(FileProblem::DiskFull);
        bytes.remove_prefix(written);
    }
}

void SystemFile::TakePermissionsOf(const std::wstring&) {
    // A new file takes its folder's inherited permissions, as the file it replaces did.
}

void SystemFile::Sync() {
    if (!FlushFileBuffers(Native(handle_))) Fail(Use::Write);
}

SystemFile::LockResult SystemFile::TryLock(LockKind kind) {
    OVERLAPPED where{};
    where.Offset = kLockOffsetLow;
    where.OffsetHigh = kLockOffsetHigh;
    DWORD flags = LOCKFILE_FAIL_IMMEDIATELY;
    if (kind == LockKind::Exclusive) flags |= LOCKFILE_EXCLUSIVE_LOCK;
    if (LockFileEx(Native(handle_), flags, 0, 1, 0, &where)) return LockResult::Held;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return LockResult::InUse;
    return LockResult::Unsupported;
}

void SystemFile::Close() {
    if (handle_ == -1) return;
    if (!CloseHandle(Native(std::exchange(handle_, -1)))) Fail(Use::Write);
}

void SystemFile::CloseRemovingUnlessLocked(const std::wstring&) noexcept {
    if (handle_ == -1) return;
    const HANDLE handle = Native(std::exchange(handle_, -1));
    OVERLAPPED where{};
    where.Offset = kLockOffsetLow;
    where.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(handle, 0, 1, 0, &where);
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
        // Removed by the handle, when it closes: the name cannot now name another file.
        FILE_DISPOSITION_INFO removal{TRUE};  // its one member, which a macro of windows.h renames
        SetFileInformationByHandle(handle, FileDispositionInfo, &removal, sizeof removal);
    }
    CloseHandle(handle);
}

std::optional<FileStatus> StatusOfPath(const std::filesystem::path& path) {
    return StatusOfPath(path.native());
}

std::optional<FileStatus> StatusOfPath(const std::wstring& path) {
    if (path.empty() || path.find(L'\0') != std::wstring::npos) return std::nullopt;
    // No access asked: the file's status can be read whoever holds it and however.
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, kOpenFlags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<FileStatus> status = StatusOfHandle(handle);
    CloseHandle(handle);
    return status;
}

std::wstring LockFileOf(const std::wstring& path) {
    return path + L".lock";
}

void RenameReplacing(const std::wstring& from, const std::wstring& to) {
    if (!MoveFileExW(NativeName(from), NativeName(to),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        Fail(Use::Write);
}

void RemoveFileQuietly(const std::wstring& path) noexcept {
    if (!path.empty() && path.find(L'\0') == std::wstring::npos) DeleteFileW(path.c_str());
}

}  // namespace orv::engine
