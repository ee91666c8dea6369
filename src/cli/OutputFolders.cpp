#include "cli/OutputFolders.h"

#include <system_error>

namespace fs = std::filesystem;

namespace orv::cli {

OutputFolders::~OutputFolders() {
    for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder) {
        std::error_code error;
        // Only an empty folder goes, and only one that this run made: whatever another
        // program put there meanwhile stays, and so does its folder.
        if (fs::is_empty(*folder, error) && !error) fs::remove(*folder, error);
    }
}

void OutputFolders::Make(const fs::path& folder) {
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path at = folder; !at.empty() && !fs::exists(at, error); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) break;
    }
    for (auto at = missing.rbegin(); at != missing.rend(); ++at) {
        // False without an error when another run made it meanwhile: then it is not ours.
        if (fs::create_directory(*at, error)) made_.push_back(*at);
        if (error) throw std::system_error(error);
    }
}

}  // namespace orv::cli
