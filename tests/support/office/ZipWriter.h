#pragma once
// Zip archives made in memory for tests, examples and benchmarks: the few parts a minimal
// Office Open XML or OpenDocument file needs, or a damaged or hostile archive.

#include <string>
#include <utility>
#include <vector>

namespace orv::test {

struct ZipEntry {
    ZipEntry(std::string entryName, std::string entryContent, bool storedAsIs = false,
             std::string entryPassword = {})
        : name(std::move(entryName)),
          content(std::move(entryContent)),
          stored(storedAsIs),
          password(std::move(entryPassword)) {}

    std::string name;
    std::string content;
    bool stored = false;   // kept as it is rather than deflated (OpenDocument's "mimetype")
    std::string password;  // when not empty, the entry is encrypted with it (AES-256)
};

// The archive of `entries`, in their order, each dated 1 January 2026 so that the same
// entries always give the same bytes.
std::string ZipBytes(const std::vector<ZipEntry>& entries);

}  // namespace orv::test
