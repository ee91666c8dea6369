#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "engine/system/FileFailure.h"
#include "engine/system/SystemFile.h"
#include "platform/NarrowText.h"

namespace orv::engine {
namespace {

using Use = FileUse;

// The one translation of the system's error numbers.
FileProblem ProblemOf(int error, Use use) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return use == Use::Create ? FileProblem::FolderNotFound : FileProblem::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileProblem::AccessDenied;
        case EISDIR:
            return FileProblem::IsFolder;
        case EEXIST:
            return FileProblem::AlreadyExists;
        case ENOSPC:
        case EDQUOT:
            return FileProblem::DiskFull;
        case ENAMETOOLONG:
        case EILSEQ:
            return FileProblem::BadName;
        case EFBIG:
            return FileProblem::TooLarge;
        default:
            return OtherFailureOf(use);
    }
}

[[noreturn]] void Fail(int error, Use use) {
    throw FileFailure(ProblemOf(error, use));
}

std::string NativeName(const std::wstring& path) {
    std::optional<std::string> narrow;
    if (path.find(L'\0') == std::wstring::npos) narrow = ToNarrowExactly(path);
    if (!narrow || narrow->empty()) throw FileFailure(FileProblem::BadName);
    return std::move(*narrow);
}

std::int64_t Nanoseconds(const struct timespec& time) {
    return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

FileStatus StatusFrom(const struct stat& status) {
    FileStatus result;
    result.kind = S_ISREG(status.st_mode)   ? FileKind::Regular
                  : S_ISDIR(status.st_mode) ? FileKind::Folder
                                            : FileKind::Other;
    result.size = status.st_size > 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
    result.node = {static_cast<std::uint64_t>(status.st_dev),
                   static_cast<std::uint64_t>(status.st_ino)};
    result.modifiedNs = Nanoseconds(status.st_mtim);
    result.changedNs = Nanoseconds(status.st_ctim);
    return result;
}

int Descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

// Not blocking: opening a named pipe would otherwise wait for a writer, maybe for ever.
constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

}  // namespace

SystemFile::SystemFile(SystemFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        if (handle_ >= 0) ::close(Descriptor(handle_));
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

SystemFile::~SystemFile() {
    if (handle_ >= 0) ::close(Descriptor(handle_));
}

SystemFile SystemFile::OpenToRead(const std::wstring& path) {
    const std::string name = NativeName(path);
    const int descriptor = ::open(name.c_str(), O_RDONLY | kOpenFlags);
    if (descriptor < 0) Fail(errno, Use::Open);
    SystemFile file(descriptor);
    // Reads wait for data again, as a regular file's always do; a pipe is refused before.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return file;
}

SystemFile SystemFile::OpenToLock(const std::wstring& path, bool writable) {
    const std::string name = NativeName(path);
    int descriptor = -1;
    // Where flock is emulated by record locks (NFS), an exclusive one needs write access.
    if (writable) descriptor = ::open(name.c_str(), O_RDWR | kOpenFlags);
    if (descriptor < 0) descriptor = ::open(name.c_str(), O_RDONLY | kOpenFlags);
    if (descriptor < 0) Fail(errno, Use::Open);
    return SystemFile(descriptor);
}

SystemFile SystemFile::CreateNew(const std::wstring& path, bool ownerOnly) {
    const std::string name = NativeName(path);
    // The mode is the file's from its creation on: no one else can open it in between.
    const mode_t mode = ownerOnly ? 0600 : 0666;
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) Fail(errno, Use::Create);
    return SystemFile(descriptor);
}

bool SystemFile::IsOpen() const noexcept {
    return handle_ >= 0;
}

FileStatus SystemFile::Status() const {
    struct stat status {};
    if (::fstat(Descriptor(handle_), &status) != 0) Fail(errno, Use::Open);
    return StatusFrom(status);
}

std::size_t SystemFile::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(Descriptor(handle_), buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) Fail(errno, Use::Read);
    }
}

void SystemFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(Descriptor(handle_), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail(errno, Use::Write);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void SystemFile::TakePermissionsOf(const std::wstring& path) {
    struct stat status {};
    try {
        if (::stat(NativeName(path).c_str(), &status) == 0 && S_ISREG(status.st_mode))
            ::fchmod(Descriptor(handle_), status.st_mode & 07777);
    } catch (const FileFailure&) {
        // A text that names no file has no permissions to give.
    }
}

void SystemFile::Sync() {
    // EINVAL: a file (a pipe, some special file systems) that cannot be synced.
    if (::fsync(Descriptor(handle_)) != 0 && errno != EINVAL) Fail(errno, Use::Write);
}

SystemFile::LockResult SystemFile::TryLock(LockKind kind) {
    // flock rather than a record lock: it takes an exclusive lock through a read-only
    // descriptor too, and belongs to this open file, so it excludes other threads as well.
    const int operation = (kind == LockKind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (;;) {
        if (::flock(Descriptor(handle_), operation) == 0) return LockResult::Held;
        if (errno == EWOULDBLOCK) return LockResult::InUse;
        if (errno != EINTR) return LockResult::Unsupported;  // ENOLCK, EINVAL...
    }
}

void SystemFile::Close() {
    if (handle_ < 0) return;
    const int result = ::close(Descriptor(std::exchange(handle_, -1)));
    if (result != 0 && errno != EINTR) Fail(errno, Use::Write);
}

void SystemFile::CloseRemovingUnlessLocked(const std::wstring& path) noexcept {
    if (handle_ < 0) return;
    // flock converts this file's own lock: exclusive only when no one else holds one.
    if (::flock(Descriptor(handle_), LOCK_EX | LOCK_NB) == 0) RemoveFileQuietly(path);
    ::close(Descriptor(std::exchange(handle_, -1)));
}

std::optional<FileStatus> StatusOfPath(const std::wstring& path) {
    struct stat status {};
    try {
        if (::stat(NativeName(path).c_str(), &status) != 0) return std::nullopt;
    } catch (const FileFailure&) {
        return std::nullopt;  // a text that names no file
    }
    return StatusFrom(status);
}

std::optional<FileStatus> StatusOfPath(const std::filesystem::path& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return std::nullopt;
    return StatusFrom(status);
}

std::wstring LockFileOf(const std::wstring& path) {
    return path;
}

void RenameReplacing(const std::wstring& from, const std::wstring& to) {
    if (::rename(NativeName(from).c_str(), NativeName(to).c_str()) != 0) Fail(errno, Use::Write);
}

void RemoveFileQuietly(const std::wstring& path) noexcept {
    // unlink, not remove: a folder that stands there is the user's, even when empty.
    try {
        ::unlink(NativeName(path).c_str());
    } catch (const FileFailure&) {
        // A text that names no file: nothing is there to remove.
    }
}

}  // namespace orv::engine
