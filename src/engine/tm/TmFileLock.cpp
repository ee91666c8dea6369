#include "engine/tm/TmFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

#include "engine/model/EngineError.h"
#include "platform/NarrowText.h"

namespace orv::engine {
namespace {

// A writer replaces the file (a new one is renamed over it) while it holds the lock of the
// old one; a lock taken on the old one in that moment locks nothing anyone else looks at.
constexpr int kAttempts = 8;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

TmFileLock::TmFileLock(TmFileLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

TmFileLock& TmFileLock::operator=(TmFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

void TmFileLock::Release() noexcept {
    // Closing the only descriptor of the open file description ends its lock.
    if (descriptor_ >= 0) ::close(std::exchange(descriptor_, -1));
}

TmFileLock TmFileLock::Take(const std::wstring& path, Kind kind) {
    const std::optional<std::string> narrow = ToNarrowExactly(path);
    if (!narrow || narrow->empty()) return {};
    // flock rather than a record lock: it takes an exclusive lock through a read-only
    // descriptor too, so a TM file without write permission still opens. Where flock is
    // emulated by record locks (NFS), an exclusive one needs a descriptor open for writing.
    const int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;  // a pipe must not block the open
    const int operation = (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        int descriptor = -1;
        if (kind == Kind::Exclusive) descriptor = ::open(narrow->c_str(), O_RDWR | common);
        if (descriptor < 0) descriptor = ::open(narrow->c_str(), O_RDONLY | common);
        if (descriptor < 0) return {};
        TmFileLock lock(descriptor);
        struct stat locked {};
        if (::fstat(descriptor, &locked) != 0 || !S_ISREG(locked.st_mode)) return {};
        if (::flock(descriptor, operation) != 0) {
            if (errno == EWOULDBLOCK) {
                RaiseEngineError(L"The translation memory is in use by another process: " + path);
            }
            if (errno == EINTR) continue;
            // No locks on this file system (ENOLCK, EINVAL...): the TM is still usable.
            return {};
        }
        struct stat current {};
        if (::stat(narrow->c_str(), &current) == 0 && SameFile(current, locked)) return lock;
    }
    RaiseEngineError(L"The translation memory is in use by another process: " + path);
}

}  // namespace orv::engine
