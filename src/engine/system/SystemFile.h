#pragma once
// A file of the operating system as the engine uses it: opened to read, to hold a lock, or
// created new; read and written in bytes; locked advisorily; synced to the disk. Move-only,
// closed when its owner goes. Each system has its own implementation (posix/, win32/), chosen
// by the build; failures are FileFailures whatever the system.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orv::engine {

enum class FileKind { Regular, Folder, Other };

// Which file, whatever the path it was reached by: device and inode on POSIX, volume serial
// number and file index on Windows.
struct FileNode {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileNode&) const = default;
};

// Size and times tell a file rewritten in place from the one seen before: a writer can set the
// modification time back, never the change time, which any write or change of status moves.
// Times are nanoseconds since the Unix epoch; 0 where the file system keeps no such time.
struct FileStatus {
    FileKind kind = FileKind::Other;
    std::uint64_t size = 0;
    FileNode node;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
};

class MappedFile;

class SystemFile {
public:
    enum class LockKind { Shared, Exclusive };
    enum class LockResult {
        Held,         // the lock is this file's until it closes
        InUse,        // another owner's lock stands in the way
        Unsupported,  // the file system has no locks; the file is still usable
    };

    SystemFile() noexcept = default;
    SystemFile(SystemFile&& other) noexcept;
    SystemFile& operator=(SystemFile&& other) noexcept;
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;
    // Closes the file; a failure then is not reported (a writer calls Close to learn of it).
    ~SystemFile();

    // Opens an existing file to read. Never waits: a pipe without a writer, or a device, opens
    // at once (and Status tells what it is), so a caller can refuse it before reading.
    static SystemFile OpenToRead(const std::wstring& path);

    // Opens an existing file only to hold a lock on it: for writing when `writable` and the
    // system allows it, else for reading (a lock needs no write access on every system).
    // Other programs may still read, replace and delete the file.
    static SystemFile OpenToLock(const std::wstring& path, bool writable);

    // Creates a file that must not exist yet (AlreadyExists when it does), for writing. When
    // `ownerOnly`, only its owner may read or write it from the moment it exists (POSIX 0600;
    // on Windows a new file takes its folder's permissions either way).
    static SystemFile CreateNew(const std::wstring& path, bool ownerOnly = false);

    bool IsOpen() const noexcept;

    // What the open file is, not what its name shows now.
    FileStatus Status() const;

    // Up to `size` bytes into `buffer`; 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t size);

    // All of `bytes`, or a FileFailure (DiskFull, WriteFailed).
    void Write(std::string_view bytes);

    // Gives this file the permissions of the file at `path`, when one is there; nothing where
    // the system keeps permissions apart from the file's mode (Windows: a new file takes its
    // folder's, as the file it replaces did).
    void TakePermissionsOf(const std::wstring& path);

    // On the disk before it returns: a rename that follows cannot leave the name on an empty
    // file after a crash.
    void Sync();

    // An advisory lock that never waits; it ends with the file.
    LockResult TryLock(LockKind kind);

    // Closes the file, reporting a failure to write out its last bytes (WriteFailed).
    void Close();

    // For a lock file of its own (LockFileOf): lets go of this file's lock and closes it,
    // removing the file at `path` first when no other owner holds a lock on it, so that no lock
    // file stays behind. Another owner that opened it meanwhile finds it no longer named and
    // makes a new one. Never fails.
    void CloseRemovingUnlessLocked(const std::wstring& path) noexcept;

private:
    friend class MappedFile;  // maps the file through its handle

    explicit SystemFile(std::intptr_t handle) noexcept : handle_(handle) {}

    // A descriptor on POSIX, a HANDLE on Windows; -1 (INVALID_HANDLE_VALUE there) is none.
    std::intptr_t handle_ = -1;
};

// What the path names now, its links followed; nothing when nothing is there (or it cannot be
// looked at).
std::optional<FileStatus> StatusOfPath(const std::wstring& path);
std::optional<FileStatus> StatusOfPath(const std::filesystem::path& path);

// The file that holds the advisory locks on the file at `path`: the file itself where a file
// may be replaced while it is open (POSIX); on Windows, which refuses that, a "<name>.lock" file
// beside it, made by the first lock and left in place, so that a writer holding the lock can
// still rename a new file over the locked one.
std::wstring LockFileOf(const std::wstring& path);

// Renames `from` over `to`, replacing a file there in one step.
void RenameReplacing(const std::wstring& from, const std::wstring& to);

// Removes the file at `path` when it is there; a folder is left alone and nothing is reported.
void RemoveFileQuietly(const std::wstring& path) noexcept;

}  // namespace orv::engine
