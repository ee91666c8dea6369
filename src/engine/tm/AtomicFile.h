#pragma once
// Every file the program writes is written whole or not at all: the bytes go to a temporary
// file in the target's own folder (so the rename stays on one file system), are flushed to
// disk, and only then take the target's place. A full disk or any failed write leaves the
// earlier file as it was, or none, and never a temporary file behind.

#include <string>
#include <string_view>

namespace orv::engine {

// Replaces the file at `path` (a name in the system's encoding) with `bytes`. A replaced
// file's permissions are kept. Throws std::system_error with the OS's error when any step
// fails; the target is then untouched and the temporary file removed.
void ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace orv::engine
