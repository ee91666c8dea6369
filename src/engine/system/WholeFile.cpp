#include "engine/system/WholeFile.h"

#include "engine/system/FileFailure.h"
#include "engine/system/SystemFile.h"

namespace orv::engine {

std::string ReadWholeFile(const std::wstring& path, std::uint64_t limit,
                          const std::function<bool()>& stop) {
    SystemFile file = SystemFile::OpenToRead(path);
    const FileStatus status = file.Status();
    if (status.kind == FileKind::Folder) throw FileFailure(FileProblem::IsFolder);
    // A device or a pipe may never end (/dev/zero fills the memory, a pipe blocks).
    if (status.kind != FileKind::Regular) throw FileFailure(FileProblem::NotRegular);
    if (status.size > limit) throw FileFailure(FileProblem::TooLarge);

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.size));
    char buffer[1 << 16];
    for (;;) {
        if (stop && stop()) throw FileFailure(FileProblem::Cancelled);
        const std::size_t got = file.Read(buffer, sizeof buffer);
        if (got == 0) break;
        if (bytes.size() + got > limit) throw FileFailure(FileProblem::TooLarge);
        bytes.append(buffer, got);
    }
    return bytes;
}

}  // namespace orv::engine
