#pragma once
// Every file the engine writes is written whole or not at all: the bytes go to a new temporary
// file in the target's own folder (so the rename stays on one file system), are synced to the
// disk, and only then take the target's place. A full disk or any failed write leaves the
// earlier file as it was, or none, and never a temporary file behind.

#include <string>
#include <string_view>

#include "engine/system/SystemFile.h"

namespace orv::engine {

class AtomicFileWriter {
public:
    enum class Access {
        LikeTarget,  // the permissions of the file it replaces, or a new file's
        // Readable and writable by its owner alone from its creation on (POSIX 0600, whatever
        // the target had). On Windows a file takes its folder's permissions, which under the
        // user's local application data folder are already the user's alone.
        OwnerOnly,
    };

    // Creates the temporary file beside `target`. Throws FileFailure (FolderNotFound,
    // AccessDenied, BadName...).
    explicit AtomicFileWriter(std::wstring target, Access access = Access::LikeTarget);
    // Removes the temporary file unless it took the target's place.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::string_view bytes) { file_.Write(bytes); }

    enum class Durability {
        Synced,  // on the disk before it takes the target's name
        // Renamed at once: for a file that can always be made again and whose reader checks
        // it whole, since after a crash its name may hold a file cut short.
        Unsynced,
    };
    // Closes the temporary file, synced unless asked otherwise, and renames it over the
    // target.
    void Commit(Durability durability = Durability::Synced);

private:
    std::wstring target_;
    std::wstring temporary_;
    SystemFile file_;
    bool committed_ = false;
};

// Replaces the file at `path` with `bytes`, as AtomicFileWriter does. Throws FileFailure.
void ReplaceFileAtomically(const std::wstring& path, std::string_view bytes,
                           AtomicFileWriter::Access access = AtomicFileWriter::Access::LikeTarget);

}  // namespace orv::engine
