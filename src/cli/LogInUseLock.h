#pragma once
// Two runs with the same log would read each other's results: the second could report the
// first one's figures as its own. A run therefore holds an exclusive advisory lock on a file
// beside its log ("<log>.lock") from before the job until its results are read, and removes the
// file as it lets go. The log itself cannot carry the lock: the engine replaces it by renaming a
// new file over it.

#include <string>

#include "engine/system/SystemFile.h"

namespace orv::cli {

class LogInUseLock {
public:
    // Holds no lock.
    LogInUseLock() noexcept = default;
    ~LogInUseLock() { Release(); }
    LogInUseLock(LogInUseLock&& other) noexcept;
    LogInUseLock& operator=(LogInUseLock&& other) noexcept;
    LogInUseLock(const LogInUseLock&) = delete;
    LogInUseLock& operator=(const LogInUseLock&) = delete;

    enum class Outcome { Held, InUse, Unavailable };

    // Takes the lock on `logPath` + ".lock" (created when missing) without waiting. InUse when
    // another owner holds it; Unavailable when the lock file cannot be made or its file system
    // has no locks, where the run goes on unguarded rather than not at all.
    static Outcome Take(const std::string& logPath, LogInUseLock& lock);

    bool held() const noexcept { return file_.IsOpen(); }
    void Release() noexcept;

private:
    engine::SystemFile file_;
    std::wstring name_;
};

}  // namespace orv::cli
