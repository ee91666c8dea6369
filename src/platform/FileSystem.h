#pragma once
// The file-system service: every test, read, write and deletion of files and folders and
// every split of a path goes through it. Failures of the service are AutomationErrors with the
// runtime numbers of AutomationError.h: 52 bad file name, 53 file not found, 70 permission
// denied, 75 path/file access error.

#include <memory>
#include <string>

#include "platform/PathSyntax.h"

namespace orv {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True only when a file (not a folder) exists at the path.
    virtual bool FileExists(const std::wstring& path) const = 0;

    // True when a folder exists at the path.
    virtual bool FolderExists(const std::wstring& path) const = 0;

    // The last component of the path.
    virtual std::wstring GetFileName(const std::wstring& path) const = 0;

    // The last component without its extension.
    virtual std::wstring GetBaseName(const std::wstring& path) const = 0;

    // The extension of the last component, without the dot; empty when there is none.
    virtual std::wstring GetExtensionName(const std::wstring& path) const = 0;

    // Deletes the file at the path, or every file matching the last component when it holds
    // "*" (any run of characters) or "?" (one character). Without `force` a read-only file
    // is refused with 70; with it, read-only files are deleted too. No matching file: 53.
    virtual void DeleteFile(const std::wstring& path, bool force) = 0;

    // The whole content of the file at the path, byte for byte. Raises 52 when the text
    // cannot name a file (empty, a NUL inside, a character the OS cannot take), 53 when no
    // file is there, 70 when reading is refused, 75 for a folder and any other failure.
    virtual std::string ReadFile(const std::wstring& path) const = 0;

    // Creates the file at the path, or empties it when it exists, and writes all of `bytes`.
    // Raises 52 as ReadFile does, 53 when the folder does not exist, 70 when writing is
    // refused (a read-only file), 75 for a folder, a full disk and any other failure. The
    // file is written in place: after a failure it may be empty or cut short, so a caller
    // that must never leave a partial file writes a name of its own and deletes it then.
    virtual void WriteFile(const std::wstring& path, const std::string& bytes) = 0;
};

// The file system of the running system, shared by every object that was given none.
std::shared_ptr<FileSystem> DefaultFileSystem();

}  // namespace orv
