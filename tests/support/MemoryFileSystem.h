#pragma once
// A file system in memory for tests: folders and files (bytes and a read-only flag) in a map,
// in the POSIX or the Windows path style (Windows: "\" and "/" alike, names compared ignoring
// case). It records every call that touches the store, in order, and fails the calls a test
// chooses, so that every failure branch of a caller can be reached on any system.
// The path splits (GetFileName, ...) are those of PathSyntax.h and are neither recorded nor
// failed.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace orv::test {

class MemoryFileSystem : public FileSystem {
public:
    explicit MemoryFileSystem(PathStyle style = NativePathStyle()) : style_(style) {}

    // --- setting up and looking in; never recorded, never failed ---

    // The folder and every folder above it.
    void AddFolder(const std::wstring& path);
    // A file (replacing one of the same name) and the folders above it.
    void AddFile(const std::wstring& path, std::string bytes = {}, bool readOnly = false);
    void SetReadOnly(const std::wstring& path, bool readOnly);
    bool HasFile(const std::wstring& path) const;
    // The bytes of a file; throws std::out_of_range when there is none.
    const std::string& Content(const std::wstring& path) const;
    // The paths of all files as they were created, in the order of their keys.
    std::vector<std::wstring> FilePaths() const;

    // Makes a new empty file `prefix` + hexadecimal number + ".TMP" in `folder`, a name not in
    // use, as Windows' GetTempFileNameW does; empty when the folder does not exist. Recorded
    // as "CreateUniqueFile <path>" (it stands for the platform's call), never failed.
    std::wstring CreateUniqueFile(const std::wstring& folder, const std::wstring& prefix);
    // CreateUniqueFile makes read-only files, as if another program marked them at once.
    bool uniqueFilesReadOnly = false;

    // Makes the `nth` call (1 = the first since this file system was made) of `operation`
    // ("WriteFile"; empty: of any operation) raise the runtime error `number` instead of doing
    // anything. The failing call is recorded like any other.
    void FailCall(int nth, int32_t number, const std::string& operation = "");

    // Every call in order: "FileExists <path>", "FolderExists <path>", "ReadFile <path>",
    // "WriteFile <path>", "DeleteFile <path>" with " force" when forced, and CreateUniqueFile.
    mutable std::vector<std::wstring> calls;

    // --- the service ---

    bool FileExists(const std::wstring& path) const override;
    bool FolderExists(const std::wstring& path) const override;
    std::wstring GetFileName(const std::wstring& path) const override;
    std::wstring GetBaseName(const std::wstring& path) const override;
    std::wstring GetExtensionName(const std::wstring& path) const override;
    // Raises 53 when nothing matches, 70 for a read-only match without force (nothing is then
    // deleted); folders never match.
    void DeleteFile(const std::wstring& path, bool force) override;
    // Raises 52 for an empty path or one holding a NUL, 53 when there is no file, 75 for a
    // folder.
    std::string ReadFile(const std::wstring& path) const override;
    // Raises 52 as ReadFile, 53 when the folder above is missing, 70 for a read-only file,
    // 75 for a folder.
    void WriteFile(const std::wstring& path, const std::string& bytes) override;

private:
    struct Entry {
        std::wstring path;  // as given when made
        bool folder = false;
        bool readOnly = false;
        std::string bytes;
    };
    struct PlannedFailure {
        int nth;
        int32_t number;
        std::string operation;
    };

    // The map key: separators unified, trailing ones dropped, case folded in Windows style.
    std::wstring Key(const std::wstring& path) const;
    const Entry* Find(const std::wstring& path) const;
    // Records the call and raises a planned failure when this call is the one.
    void Call(const std::string& operation, const std::wstring& path,
              const std::wstring& suffix = L"") const;

    PathStyle style_;
    std::map<std::wstring, Entry> entries_;
    std::vector<PlannedFailure> failures_;
    mutable std::map<std::string, int> callCounts_;  // per operation; "" counts all
    int uniqueNumber_ = 0;
};

}  // namespace orv::test
