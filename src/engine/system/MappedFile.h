#pragma once
// A file's bytes read in place, through the system's memory mapping rather than a copy: for a
// large cache file that is read once per run at random places. Each system has its own
// implementation (posix/, win32/), chosen by the build.
//
// The mapping sees the file it was made of, whatever later happens to its name, so a writer
// replaces the file whole (AtomicFileWriter) and never truncates it in place: bytes cut off
// under a mapping fault when read. Windows refuses to replace or remove a file while a
// mapping of it stands; a writer there fails until the reader lets go.

#include <cstddef>
#include <span>
#include <utility>

#include "engine/system/SystemFile.h"

namespace orv::engine {

class MappedFile {
public:
    MappedFile() noexcept = default;
    MappedFile(MappedFile&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    MappedFile& operator=(MappedFile&& other) noexcept {
        if (this != &other) {
            Unmap();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() { Unmap(); }

    // The whole of the open regular file `file`, mapped read-only; the mapping stays valid
    // after `file` closes. An empty file gives an empty view without a mapping. Throws
    // FileFailure: NotRegular or IsFolder for what is no regular file, TooLarge for a file
    // beyond this process's address space, else AccessDenied or ReadFailed.
    static MappedFile Map(const SystemFile& file);

    std::span<const std::byte> bytes() const noexcept { return {data_, size_}; }

private:
    MappedFile(const std::byte* data, std::size_t size) noexcept : data_(data), size_(size) {}
    // How many bytes of `file` a mapping must cover, 0 for none; throws what Map throws for
    // what cannot be mapped. The same on every system.
    static std::size_t SizeToMap(const SystemFile& file);
    void Unmap() noexcept;

    const std::byte* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace orv::engine
