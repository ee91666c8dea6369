#pragma once
// The zip container of an Office Open XML or OpenDocument file, read from memory. What a
// document's parts may cost is bounded before they are unpacked: a small file that unpacks
// to gigabytes (a zip bomb), an encrypted entry or a damaged archive is refused with a
// reason in words, never read in part. So is an archive that names an entry by an absolute
// path or one with a ".." step, which no writer of documents makes.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct zip;
struct zip_file;

namespace orv::engine {

class ZipArchive {
public:
    // The most that the parts read from one archive may unpack to, all together.
    static constexpr uint64_t kMostUnpackedBytes = uint64_t{1} << 30;
    // An entry that unpacks to more than this many times its packed size, once it is larger
    // than kSmallestSuspectEntry, is taken for a bomb: real documents' XML packs ten to
    // thirty times.
    static constexpr uint64_t kHighestPackingRatio = 100;
    static constexpr uint64_t kSmallestSuspectEntry = uint64_t{16} << 20;

    // `bytes` must outlive the archive. Throws an engine error when they are not a zip
    // archive, or one that is damaged or encrypted.
    explicit ZipArchive(std::string_view bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // One entry, unpacked as it is read; the archive must outlive it.
    class Entry {
    public:
        // Up to `size` further bytes into `buffer`; 0 at the end. Throws an engine error when
        // the entry is damaged, or the archive's parts unpack beyond kMostUnpackedBytes.
        std::size_t Read(char* buffer, std::size_t size);

    private:
        friend class ZipArchive;
        struct Close {
            void operator()(zip_file* file) const noexcept;
        };
        Entry(zip_file* file, uint64_t size, uint64_t& unpacked);

        std::unique_ptr<zip_file, Close> file_;
        uint64_t left_;  // of the stated size
        uint64_t* unpacked_;
    };

    // The names of the entries, as stored ("word/document.xml"), in the archive's order.
    const std::vector<std::string>& Names() const { return names_; }
    // The stored name equal to `name`, or else the first equal to it without regard to ASCII
    // case (part names of a package are compared so); none when no entry has it.
    std::optional<std::string> Find(std::string_view name) const;
    // The unpacked bytes of the entry `name` (found as Find finds it); none when there is no
    // such entry. Throws an engine error when the entry is damaged, encrypted or beyond the
    // limits above.
    std::optional<std::string> Read(std::string_view name);
    // The same, to be read a piece at a time.
    std::optional<Entry> Open(std::string_view name);

private:
    void IndexNames();
    std::optional<std::size_t> IndexOf(std::string_view name) const;

    zip* archive_ = nullptr;
    std::vector<std::string> names_;
    std::unordered_map<std::string, std::size_t> byName_;       // into names_
    std::unordered_map<std::string, std::size_t> byLowerName_;  // by ASCII lower-case name
    uint64_t unpacked_ = 0;  // bytes unpacked so far, for kMostUnpackedBytes
};

// Whether `bytes` begin as a zip archive does ("PK\3\4", or the end record of an empty one).
bool LooksLikeZip(std::string_view bytes);
// Whether `bytes` begin as an OLE compound file does: the container of the binary Office
// formats and of an encrypted Office Open XML file.
bool LooksLikeCompoundFile(std::string_view bytes);

}  // namespace orv::engine
