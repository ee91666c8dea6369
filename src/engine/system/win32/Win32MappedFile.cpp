#include "engine/system/FileFailure.h"
#include "engine/system/MappedFile.h"
#include "platform/win32/WindowsApi.h"

#include <cstdint>

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
    const std::size_t size = SizeToMap(file);
    // Windows refuses to map an empty file.
    if (size == 0) return {};
    // The size seen above, not the file's size now: a file cut short since fails here rather
    // than giving fewer bytes.
    const auto wide = static_cast<uint64_t>(size);
    const HANDLE mapping =
        CreateFileMappingW(reinterpret_cast<HANDLE>(file.handle_), nullptr, PAGE_READONLY,
                           static_cast<DWORD>(wide >> 32), static_cast<DWORD>(wide), nullptr);
    if (mapping == nullptr) throw FileFailure(MappingProblemOf(GetLastError()));
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
