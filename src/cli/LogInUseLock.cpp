#include "cli/LogInUseLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace orv::cli {

LogInUseLock::LogInUseLock(LogInUseLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

LogInUseLock& LogInUseLock::operator=(LogInUseLock&& other) noexcept {
    if (this != &other) {
        Release();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

void LogInUseLock::Release() noexcept {
    // The lock file stays: unlinking it would let a run that opened it a moment before lock
    // the removed file while a third run creates and locks a new one, two runs on one log.
    if (descriptor_ >= 0) ::close(std::exchange(descriptor_, -1));
}

LogInUseLock::Outcome LogInUseLock::Take(const std::string& logPath, LogInUseLock& lock) {
    lock.Release();
    const std::string name = logPath + ".lock";
    const int descriptor =
        ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (descriptor < 0) return Outcome::Unavailable;
    LogInUseLock taken;
    taken.descriptor_ = descriptor;
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK ? Outcome::InUse : Outcome::Unavailable;
    }
    lock = std::move(taken);
    return Outcome::Held;
}

}  // namespace orv::cli
