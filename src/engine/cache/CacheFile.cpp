#include "engine/cache/CacheFile.h"

#include <array>
#include <cstring>

#include "engine/system/AtomicFileWriter.h"
#include "engine/system/FileFailure.h"
#include "engine/system/MappedFile.h"
#include "engine/system/SystemFile.h"

namespace orv::engine {

namespace {

constexpr std::array<char, 8> kMagic = {'O', 'R', 'V', 'C', 'A', 'C', 'H', 'E'};
// Tells a file written with the other byte order, whose numbers would all read wrong.
constexpr uint32_t kByteOrder = 0x01020304;

struct Header {
    std::array<char, 8> magic;
    uint32_t tag;
    uint32_t version;
    uint32_t byteOrder;
    uint32_t wideCharSize;  // the texts' hashes depend on it
    uint64_t fileSize;
    uint64_t checksum;  // of everything after the header
    uint32_t keyLength;
    uint32_t sectionCount;
};
static_assert(sizeof(Header) == 48);

struct SectionEntry {
    uint64_t offset;
    uint64_t size;
};

constexpr std::size_t Aligned(std::size_t size, std::size_t to) {
    return (size + to - 1) / to * to;
}

// A hash of 8-byte words in four independent lanes, so that it runs at the speed of memory;
// the bytes come in pieces of any length.
class Checksum {
public:
    void Add(std::span<const std::byte> bytes) {
        while (!bytes.empty() && filled_ != 0) {
            pending_[filled_++] = bytes.front();
            bytes = bytes.subspan(1);
            if (filled_ == 8) Word(Load(pending_.data())), filled_ = 0;
        }
        std::size_t at = 0;
        for (; at + 8 <= bytes.size() && words_ % 4 != 0; at += 8) Word(Load(bytes.data() + at));
        for (; at + 32 <= bytes.size(); at += 32, words_ += 4)
            for (std::size_t lane = 0; lane < 4; ++lane)
                Mix(lane_[lane], Load(bytes.data() + at + 8 * lane));
        for (; at + 8 <= bytes.size(); at += 8) Word(Load(bytes.data() + at));
        for (; at < bytes.size(); ++at) pending_[filled_++] = bytes[at];
    }
    uint64_t Value() const {
        uint64_t value = words_;
        for (uint64_t lane : lane_) value = (value ^ lane) * kMultiplier;
        for (std::size_t i = 0; i < filled_; ++i)
            value = (value ^ static_cast<uint8_t>(pending_[i])) * kMultiplier;
        return value ^ (value >> 31);
    }

private:
    static constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15u;
    static uint64_t Load(const std::byte* at) {
        uint64_t word;
        std::memcpy(&word, at, sizeof word);
        return word;
    }
    static void Mix(uint64_t& lane, uint64_t word) {
        lane = (lane ^ word) * kMultiplier;
        lane ^= lane >> 29;
    }
    // Word n always goes to lane n % 4, so that the value does not depend on where the
    // pieces were cut.
    void Word(uint64_t word) { Mix(lane_[words_++ % 4], word); }

    std::array<uint64_t, 4> lane_ = {1, 2, 3, 4};
    std::array<std::byte, 8> pending_{};
    std::size_t filled_ = 0;
    uint64_t words_ = 0;
};

std::span<const std::byte> BytesOf(const void* data, std::size_t size) {
    return {static_cast<const std::byte*>(data), size};
}

}  // namespace

void WriteCacheFile(const std::wstring& path, CacheFileKind kind, std::string_view key,
                    const std::vector<std::span<const std::byte>>& sections) {
    // The layout: the header, the key, the table of sections, the sections, each padded with
    // zeros to where the next begins.
    const std::size_t tableAt = Aligned(sizeof(Header) + key.size(), 8);
    std::size_t at =
        Aligned(tableAt + sections.size() * sizeof(SectionEntry), kCacheSectionAlignment);
    std::vector<SectionEntry> table;
    for (const auto& section : sections) {
        table.push_back({at, section.size()});
        at = Aligned(at + section.size(), kCacheSectionAlignment);
    }
    const std::size_t fileSize = at;

    // What follows the header, piece by piece, in the file's order.
    static constexpr std::array<std::byte, kCacheSectionAlignment> kZeros{};
    std::vector<std::span<const std::byte>> pieces;
    std::size_t written = sizeof(Header);
    auto add = [&](std::span<const std::byte> piece, std::size_t paddedTo) {
        pieces.push_back(piece);
        written += piece.size();
        while (written < paddedTo) {
            const std::size_t zeros = std::min(kZeros.size(), paddedTo - written);
            pieces.push_back(std::span<const std::byte>(kZeros.data(), zeros));
            written += zeros;
        }
    };
    add(BytesOf(key.data(), key.size()), tableAt);
    add(BytesOf(table.data(), table.size() * sizeof(SectionEntry)),
        table.empty() ? fileSize : table.front().offset);
    for (std::size_t i = 0; i < sections.size(); ++i)
        add(sections[i], i + 1 < sections.size() ? table[i + 1].offset : fileSize);

    Checksum checksum;
    for (const auto& piece : pieces) checksum.Add(piece);
    Header header{kMagic,
                  kind.tag,
                  kind.version,
                  kByteOrder,
                  static_cast<uint32_t>(sizeof(wchar_t)),
                  fileSize,
                  checksum.Value(),
                  static_cast<uint32_t>(key.size()),
                  static_cast<uint32_t>(sections.size())};

    AtomicFileWriter writer(path, AtomicFileWriter::Access::OwnerOnly);
    auto write = [&](std::span<const std::byte> bytes) {
        writer.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    };
    write(BytesOf(&header, sizeof header));
    for (const auto& piece : pieces) write(piece);
    // A cache file cut short by a crash fails its checksum and is made again: waiting for the
    // disk would cost a cold run seconds for nothing.
    writer.Commit(AtomicFileWriter::Durability::Unsynced);
}

std::optional<CacheFileContents> ParseCacheFile(std::span<const std::byte> bytes,
                                                std::shared_ptr<const void> owner,
                                                CacheFileKind kind, std::string_view key,
                                                std::size_t sections) {
    Header header;
    if (bytes.size() < sizeof header) return std::nullopt;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (header.magic != kMagic || header.tag != kind.tag || header.version != kind.version ||
        header.byteOrder != kByteOrder || header.wideCharSize != sizeof(wchar_t) ||
        header.fileSize != bytes.size() || header.keyLength != key.size() ||
        header.sectionCount != sections)
        return std::nullopt;
    const std::size_t tableAt = Aligned(sizeof(Header) + key.size(), 8);
    const std::size_t tableEnd = tableAt + sections * sizeof(SectionEntry);
    if (tableEnd > bytes.size() ||
        std::memcmp(bytes.data() + sizeof(Header), key.data(), key.size()) != 0)
        return std::nullopt;
    Checksum checksum;
    checksum.Add(bytes.subspan(sizeof(Header)));
    if (checksum.Value() != header.checksum) return std::nullopt;

    CacheFileContents contents;
    for (std::size_t i = 0; i < sections; ++i) {
        SectionEntry entry;
        std::memcpy(&entry, bytes.data() + tableAt + i * sizeof entry, sizeof entry);
        if (entry.offset % kCacheSectionAlignment != 0 || entry.offset < tableEnd ||
            entry.offset > bytes.size() || entry.size > bytes.size() - entry.offset)
            return std::nullopt;
        contents.sections.push_back(bytes.subspan(entry.offset, entry.size));
    }
    contents.owner = std::move(owner);
    return contents;
}

std::optional<CacheFileContents> ReadCacheFile(const std::wstring& path, CacheFileKind kind,
                                               std::string_view key, std::size_t sections) {
    try {
        SystemFile file = SystemFile::OpenToRead(path);
        if (file.Status().kind != FileKind::Regular) return std::nullopt;
        auto mapping = std::make_shared<const MappedFile>(MappedFile::Map(file));
        const auto bytes = mapping->bytes();
        return ParseCacheFile(bytes, std::move(mapping), kind, key, sections);
    } catch (const FileFailure&) {
        return std::nullopt;  // no cache to be had: the caller works it out again
    }
}

}  // namespace orv::engine
