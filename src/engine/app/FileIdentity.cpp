#include "engine/app/FileIdentity.h"

#include <system_error>

#include "engine/system/SystemFile.h"

namespace orv::engine {

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    if (path.empty()) return std::nullopt;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return std::nullopt;
    FileIdentity identity;
    if (const std::optional<FileStatus> status = StatusOfPath(absolute))
        identity.node = status->node;
    identity.resolved = std::filesystem::weakly_canonical(absolute, error);
    if (error) identity.resolved = absolute.lexically_normal();
    return identity;
}

}  // namespace orv::engine
