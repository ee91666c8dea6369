#pragma once
// A file of the operating system opened for reading or writing bytes, closed when its owner
// goes. Move-only; used on one thread at a time. Failures are AutomationErrors with the runtime
// numbers of FileSystem.h, translated here from the OS's own error once.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

class NativeFile {
public:
    enum class Access {
        Read,   // the file must exist
        Write,  // the file is created, or emptied when it exists
    };

    NativeFile() noexcept = default;
    NativeFile(NativeFile&& other) noexcept;
    // Closes the file held before, as the destructor does.
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    // Closes the file; a failure to write out the last bytes is not reported here: a writer
    // calls Close to learn of it.
    ~NativeFile();

    // Opens the file in binary mode (line ends pass unchanged). Raises 53 when the file (or,
    // for writing, its folder) does not exist, 70 when the OS refuses access (a read-only file
    // for writing), 52 when the OS rejects the name, 75 for a folder and every other failure.
    static NativeFile Open(const std::filesystem::path& path, Access access);

    bool IsOpen() const noexcept { return file_ != nullptr; }

    // Everything from the current position to the end. Raises 75 when reading fails, 52 (bad
    // file number) when no file is open, as Write does.
    std::string ReadAll();

    // Writes all of `bytes`. Raises 75 when the OS takes fewer (a full disk, a size limit).
    void Write(std::string_view bytes);

    // Writes out what is buffered and closes the file. Raises 75 when that fails; the file is
    // closed either way. Nothing happens when no file is open.
    void Close();

private:
    explicit NativeFile(std::FILE* file) noexcept : file_(file) {}

    std::FILE* file_ = nullptr;
};

}  // namespace orv
