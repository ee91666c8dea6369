#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <limits>

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
    const FileStatus status = file.Status();
    if (status.kind == FileKind::Folder) throw FileFailure(FileProblem::IsFolder);
    if (status.kind != FileKind::Regular) throw FileFailure(FileProblem::NotRegular);
    if (status.size == 0) return {};
    // A 32-bit process: a shorter mapping would pass for the whole file.
    if (status.size > std::numeric_limits<std::size_t>::max())
        throw FileFailure(FileProblem::TooLarge);
    const auto size = static_cast<std::size_t>(status.size);
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
