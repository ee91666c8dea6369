#include "engine/system/FileFailure.h"
#include "engine/system/MappedFile.h"
#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <limits>

namespace orv::engine {
namespace {

FileProblem MappingProblemOf(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
            return FileProblem::AccessDenied;
        case ERROR_NOT_ENOUGH_MEMORY:  // no room left in the address space
        case ERROR_COMMITMENT_LIMIT:
            return FileProblem::TooLarge;
        default:
            return FileProblem::ReadFailed;
    }
}

}  // namespace

MappedFile MappedFile::Map(const SystemFile& file) {
    const FileStatus status = file.Status();
    if (status.kind == FileKind::Folder) throw FileFailure(FileProblem::IsFolder);
    if (status.kind != FileKind::Regular) throw FileFailure(FileProblem::NotRegular);
    // Windows refuses to map an empty file.
    if (status.size == 0) return {};
    // A 32-bit process: a shorter view would pass for the whole file.
    if (status.size > std::numeric_limits<SIZE_T>::max()) throw FileFailure(FileProblem::TooLarge);
    // The size seen above, not the file's size now: a file cut short since fails here rather
    // than giving fewer bytes.
    const HANDLE mapping = CreateFileMappingW(reinterpret_cast<HANDLE>(file.handle_), nullptr,
                                              PAGE_READONLY, static_cast<DWORD>(status.size >> 32),
                                              static_cast<DWORD>(status.size), nullptr);
    if (mapping == nullptr) throw FileFailure(MappingProblemOf(GetLastError()));
    const auto size = static_cast<SIZE_T>(status.size);
    void* const data = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    const DWORD error = GetLastError();
    // The view keeps the mapping, and the file, for as long as it stands.
    CloseHandle(mapping);
    if (data == nullptr) throw FileFailure(MappingProblemOf(error));
    return MappedFile(static_cast<const std::byte*>(data), size);
}

void MappedFile::Unmap() noexcept {
    if (data_ != nullptr) UnmapViewOfFile(data_);
    data_ = nullptr;
    size_ = 0;
}

}  // namespace orv::engine
