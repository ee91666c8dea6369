#include <sys/mman.h>

#include <cerrno>

#include "engine/system/FileFailure.h"
#include "engine/system/MappedFile.h"

namespace orv::engine {
namespace {

FileProblem MappingProblemOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return FileProblem::AccessDenied;
        case ENOMEM:  // no room left in the address space
        case EOVERFLOW:
            return FileProblem::TooLarge;
        default:
            return FileProblem::ReadFailed;  // ENODEV: a file system that maps nothing
    }
}

}  // namespace

MappedFile MappedFile::Map(const SystemFile& file) {
    const std::size_t size = SizeToMap(file);
    if (size == 0) return {};
    // Shared: the pages are the file's own cached ones, not a private copy of them.
    void* const data =
        ::mmap(nullptr, size, PROT_READ, MAP_SHARED, static_cast<int>(file.handle_), 0);
    if (data == MAP_FAILED) throw FileFailure(MappingProblemOf(errno));
    return MappedFile(static_cast<const std::byte*>(data), size);
}

void MappedFile::Unmap() noexcept {
    if (data_ != nullptr) ::munmap(const_cast<std::byte*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}

}  // namespace orv::engine
