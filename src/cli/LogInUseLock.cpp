#include "cli/LogInUseLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace orv::cli {
namespace {

// Whether the open descriptor is still the file that `name` names: the owner before may have
// removed it between our open and our lock, and a lock on a removed file guards nothing.
bool StillNamed(int descriptor, const std::string& name) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 && ::stat(name.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

LogInUseLock::LogInUseLock(LogInUseLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), name_(std::move(other.name_)) {}

LogInUseLock& LogInUseLock::operator=(LogInUseLock&& other) noexcept {
    if (this != &other) {
        Release();
        descriptor_ = std::exchange(other.descriptor_, -1);
        name_ = std::move(other.name_);
    }
    return *this;
}

void LogInUseLock::Release() noexcept {
    if (descriptor_ < 0) return;
    // Removed while still locked, so that no run leaves it behind: a run that opened it a
    // moment before and locks it once we close finds it no longer named and starts again.
    ::unlink(name_.c_str());
    ::close(std::exchange(descriptor_, -1));
}

LogInUseLock::Outcome LogInUseLock::Take(const std::string& logPath, LogInUseLock& lock) {
    lock.Release();
    const std::string name = logPath + ".lock";
    for (;;) {
        const int descriptor =
            ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
        if (descriptor < 0) return Outcome::Unavailable;
        LogInUseLock taken;
        taken.descriptor_ = descriptor;
        int result = 0;
        while ((result = ::flock(descriptor, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (result != 0) {
            const Outcome outcome = errno == EWOULDBLOCK ? Outcome::InUse : Outcome::Unavailable;
            ::close(std::exchange(taken.descriptor_, -1));
            return outcome;
        }
        if (!StillNamed(descriptor, name)) {
            ::close(std::exchange(taken.descriptor_, -1));
            continue;
        }
        taken.name_ = name;
        lock = std::move(taken);
        return Outcome::Held;
    }
}

}  // namespace orv::cli
