#pragma once
// A file that keeps what the engine worked out from another file, so that a later run can use
// it instead of working it out again: a kind, a key that says what it was made from (the
// source file's identity and state, and whatever else shaped it), and sections of bytes, each
// at an offset that any plain value can be read at in place. A checksum covers everything
// after the fixed header, so that a damaged or cut-short file is found before it is used.
//
// A cache file is only an aid: reading one that is missing, of another kind or version, for
// another key, damaged or made on another kind of machine gives nothing, never an error, and
// the caller works the result out as if there were no cache.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv::engine {

struct CacheFileKind {
    uint32_t tag;      // four letters that tell the kinds apart
    uint32_t version;  // of the sections' layout: a file of another version is not read
};

// Writes a cache file of `kind` for `key` holding `sections`, whole or not at all (after a
// system crash perhaps cut short, which its checksum shows), readable by
// its owner only. Throws FileFailure when it cannot be written.
void WriteCacheFile(const std::wstring& path, CacheFileKind kind, std::string_view key,
                    const std::vector<std::span<const std::byte>>& sections);

struct CacheFileContents {
    std::shared_ptr<const void> owner;  // keeps the bytes of the sections readable
    std::vector<std::span<const std::byte>> sections;
};

// The sections of the cache file at `path` when it is of `kind`, made for exactly `key` on a
// machine like this one, whole and undamaged, with `sections` of them; none otherwise. The
// file is mapped into memory, not read: its pages are read as they are used (only the
// checksum reads them all, once).
std::optional<CacheFileContents> ReadCacheFile(const std::wstring& path, CacheFileKind kind,
                                               std::string_view key, std::size_t sections);

// The same for a file's bytes already in memory, which `owner` keeps.
std::optional<CacheFileContents> ParseCacheFile(std::span<const std::byte> bytes,
                                                std::shared_ptr<const void> owner,
                                                CacheFileKind kind, std::string_view key,
                                                std::size_t sections);

// Where each section begins: every one at a multiple of this from the file's start.
inline constexpr std::size_t kCacheSectionAlignment = 16;

}  // namespace orv::engine
