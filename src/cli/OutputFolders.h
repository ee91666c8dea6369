#pragma once
// The folders a run makes for its outputs (`--log out/analysis.log` should just work), taken
// away again when the run leaves them empty: a run that failed before it wrote anything leaves
// no trace of itself.

#include <filesystem>
#include <vector>

namespace orv::cli {

class OutputFolders {
public:
    OutputFolders() = default;
    // Removes each folder it made that is still empty, the deepest first.
    ~OutputFolders();
    OutputFolders(const OutputFolders&) = delete;
    OutputFolders& operator=(const OutputFolders&) = delete;

    // Makes `folder` and those of its parents that are missing. Throws std::system_error when
    // one cannot be made; those made before stay listed, to be removed.
    void Make(const std::filesystem::path& folder);

private:
    std::vector<std::filesystem::path> made_;  // in the order made: parents first
};

}  // namespace orv::cli
