#pragma once
// An advisory lock on a TM file, so that two programs never write one TM at the same time:
// writers hold it exclusively, readers share it. The lock belongs to its own open file
// description, so it excludes other threads of this process as much as other processes, and
// it ends with the object that owns it. It is held on the file LockFileOf names: the TM itself
// on POSIX, a "<TM>.lock" file beside it on Windows, where an open file cannot be replaced.

#include <string>

#include "engine/system/SystemFile.h"

namespace orv::engine {

class TmFileLock {
public:
    enum class Kind { Shared, Exclusive };

    // Holds no lock.
    TmFileLock() noexcept = default;
    ~TmFileLock() { Release(); }
    TmFileLock(TmFileLock&& other) noexcept = default;
    // Lets go of the lock held before and takes over the other's.
    TmFileLock& operator=(TmFileLock&& other) noexcept;
    TmFileLock(const TmFileLock&) = delete;
    TmFileLock& operator=(const TmFileLock&) = delete;

    // Locks the file at `path` without waiting. Throws an engine error ("The translation
    // memory is in use by another process") when a lock of another owner stands in the way.
    // Gives back a lock that holds nothing when the file cannot be opened or is no plain file
    // (reading it then says why), or when its file system has no locks.
    static TmFileLock Take(const std::wstring& path, Kind kind);

    bool held() const noexcept { return file_.IsOpen(); }
    void Release() noexcept;

private:
    // Closing the file ends its lock.
    SystemFile file_;
    // A lock file apart from the TM (LockFileOf), removed by its last holder; empty for none.
    std::wstring companion_;
};

}  // namespace orv::engine
