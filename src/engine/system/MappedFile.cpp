#include "engine/system/MappedFile.h"

#include <cstdint>
#include <limits>

#include "engine/system/FileFailure.h"

namespace orv::engine {

std::size_t MappedFile::SizeToMap(const SystemFile& file) {
    const FileStatus status = file.Status();
    if (status.kind == FileKind::Folder) throw FileFailure(FileProblem::IsFolder);
    if (status.kind != FileKind::Regular) throw FileFailure(FileProblem::NotRegular);
    // A 32-bit process: a shorter mapping would pass for the whole file.
    if (status.size > std::numeric_limits<std::size_t>::max())
        throw FileFailure(FileProblem::TooLarge);
    return static_cast<std::size_t>(status.size);
}

}  // namespace orv::engine
