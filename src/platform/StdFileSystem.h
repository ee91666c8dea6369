#pragma once
// The file-system service on the standard library's file system. Paths reach the OS through
// ToNativePath (NativePath.h); a text that names no path of the OS names no file.
// Holds only its path style: may be used from any thread.

#include "platform/FileSystem.h"

namespace orv {

class StdFileSystem : public FileSystem {
public:
    explicit StdFileSystem(PathStyle style = NativePathStyle()) : style_(style) {}

    // Symbolic links count as what they point to. Never throw: any failure answers false.
    bool FileExists(const std::wstring& path) const override;
    bool FolderExists(const std::wstring& path) const override;

    std::wstring GetFileName(const std::wstring& path) const override;
    std::wstring GetBaseName(const std::wstring& path) const override;
    std::wstring GetExtensionName(const std::wstring& path) const override;

    // Wildcards match names case-sensitively in the POSIX style and ignoring case in the
    // Windows style; a pattern without a folder looks in the current directory. Only regular
    // files match. Without `force`, one read-only match (no owner write permission; on
    // Windows the read-only attribute) refuses the whole call with 70 before anything is
    // deleted. An OS failure while deleting stops the call: 70 when permission is lacking,
    // 75 otherwise.
    void DeleteFile(const std::wstring& path, bool force) override;

    std::string ReadFile(const std::wstring& path) const override;
    void WriteFile(const std::wstring& path, const std::string& bytes) override;

private:
    PathStyle style_;
};

}  // namespace orv
