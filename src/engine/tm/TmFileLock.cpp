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

}  // namespace

void TmFileLock::Release() noexcept {
    file_ = SystemFile();
}

TmFileLock TmFileLock::Take(const std::wstring& path, Kind kind) {
    const SystemFile::LockKind lockKind =
        kind == Kind::Exclusive ? SystemFile::LockKind::Exclusive : SystemFile::LockKind::Shared;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        TmFileLock lock;
        FileStatus locked;
        try {
            lock.file_ = SystemFile::OpenToLock(path, kind == Kind::Exclusive);
            locked = lock.file_.Status();
        } catch (const FileFailure&) {
            return {};  // reading the file says why it cannot be used
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
        const std::optional<FileStatus> current = StatusOfPath(path);
        if (current && current->node == locked.node) return lock;
    }
    RaiseInUse(path);
}

}  // namespace orv::engine
