#include "engine/tm/TmFileLock.h"

#include <optional>
#include <utility>

#include "engine/model/EngineError.h"
#include "engine/system/FileFailure.h"

namespace orv::engine {
namespace {

// A writer replaces the file (a new one is renamed over it) while it holds the lock of the
// old one; a lock taken on the old one in that moment locks nothing anyone else looks at.
constexpr int kAttempts = 8;

[[noreturn]] void RaiseInUse(const std::wstring& path) {
    RaiseEngineError(L"The translation memory is in use by another process: " + path);
}

// The file that holds the locks of the TM at `path`, opened; none when it cannot be opened.
// A lock file apart from the TM is made by the first lock, when the TM itself is there.
std::optional<SystemFile> OpenLockFile(const std::wstring& path, const std::wstring& lockFile,
                                       bool writable) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        try {
            return SystemFile::OpenToLock(lockFile, writable);
        } catch (const FileFailure& failure) {
            if (lockFile == path || failure.problem() != FileProblem::NotFound) return {};
        }
        const std::optional<FileStatus> tm = StatusOfPath(path);
        if (!tm || tm->kind != FileKind::Regular) return {};
        try {
            return SystemFile::CreateNew(lockFile);
        } catch (const FileFailure& failure) {
            // Another program made it in between: open that one.
            if (failure.problem() != FileProblem::AlreadyExists) return {};
        }
    }
    return {};
}

}  // namespace

TmFileLock& TmFileLock::operator=(TmFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        file_ = std::move(other.file_);
        companion_ = std::move(other.companion_);
        other.companion_.clear();
    }
    return *this;
}

void TmFileLock::Release() noexcept {
    if (!companion_.empty()) file_.CloseRemovingUnlessLocked(companion_);
    file_ = SystemFile();
    companion_.clear();
}

TmFileLock TmFileLock::Take(const std::wstring& path, Kind kind) {
    const SystemFile::LockKind lockKind =
        kind == Kind::Exclusive ? SystemFile::LockKind::Exclusive : SystemFile::LockKind::Shared;
    const std::wstring lockFile = LockFileOf(path);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        TmFileLock lock;
        FileStatus locked;
        try {
            std::optional<SystemFile> file = OpenLockFile(path, lockFile, kind == Kind::Exclusive);
            if (!file) return {};  // reading the file says why it cannot be used
            lock.file_ = std::move(*file);
            locked = lock.file_.Status();
        } catch (const FileFailure&) {
            return {};
        }
        if (locked.kind != FileKind::Regular) return {};
        switch (lock.file_.TryLock(lockKind)) {
            case SystemFile::LockResult::InUse:
                RaiseInUse(path);
            case SystemFile::LockResult::Unsupported:
                return {};  // no locks on this file system: the TM is still usable
            case SystemFile::LockResult::Held:
                break;
        }
        const std::optional<FileStatus> current = StatusOfPath(lockFile);
        if (current && current->node == locked.node) {
            if (lockFile != path) lock.companion_ = lockFile;
            return lock;
        }
    }
    RaiseInUse(path);
}

}  // namespace orv::engine
