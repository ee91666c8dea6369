#pragma once
// Which file a path reaches, so that a run can tell that two of its paths are one file however
// they are spelled: symbolic links, hard links, "." and "..".

#include <filesystem>
#include <optional>

#include "engine/system/SystemFile.h"

namespace orv::engine {

struct FileIdentity {
    // The file the path reaches now, when it exists.
    std::optional<FileNode> node;
    // The path with its existing folders' links resolved: how a file yet to be written is known.
    std::filesystem::path resolved;

    // One file: the same node, or (for a file not there yet) the same resolved path.
    bool operator==(const FileIdentity& other) const {
        if (node && other.node) return *node == *other.node;
        return resolved == other.resolved;
    }
};

// Nothing for a path that names no file at all (empty, or not absolute-able).
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

}  // namespace orv::engine
