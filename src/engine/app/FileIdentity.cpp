#include "engine/app/FileIdentity.h"

#include <sys/stat.h>

#include <system_error>

namespace orv::engine {

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    if (path.empty()) return std::nullopt;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return std::nullopt;
    FileIdentity identity;
    struct stat status {};
    if (::stat(absolute.c_str(), &status) == 0) identity.node.emplace(status.st_dev, status.st_ino);
    identity.resolved = std::filesystem::weakly_canonical(absolute, error);
    if (error) identity.resolved = absolute.lexically_normal();
    return identity;
}

}  // namespace orv::engine
