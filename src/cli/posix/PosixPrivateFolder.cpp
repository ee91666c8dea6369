#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "cli/PrivateFolder.h"

namespace orv::cli {

const char kTemporaryFilesVariable[] = "TMPDIR";

std::filesystem::path TemporaryFilesFolder() {
    const char* folder = std::getenv(kTemporaryFilesVariable);
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

bool MakePrivateFolder(const std::filesystem::path& path) {
    // The mode at once, not after: the logs list the documents' paths.
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    if (errno == EEXIST) return false;
    throw std::runtime_error(std::strerror(errno));
}

}  // namespace orv::cli
