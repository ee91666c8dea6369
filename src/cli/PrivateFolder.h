#pragma once
// Folders of the operating system that only their user may enter, and where they go by
// default. Each system has its own implementation (posix/, win32/), chosen by the build.

#include <filesystem>

namespace orv::cli {

// The folder for temporary files: TMPDIR when it is set and not empty, else /tmp, on POSIX;
// GetTempPathW's (TMP, TEMP, the user's profile) on Windows.
std::filesystem::path TemporaryFilesFolder();

// The variable that names that folder, for a message's hint ("set TMPDIR").
extern const char kTemporaryFilesVariable[];

// Makes the folder `path` open to its user alone (mode 0700 on POSIX; on Windows an access
// list for its owner and the system alone, else what its parent passes on), in one step that
// fails when anything of that name is there. False when something is there already; throws
// std::runtime_error with the system's reason for any other failure.
bool MakePrivateFolder(const std::filesystem::path& path);

}  // namespace orv::cli
