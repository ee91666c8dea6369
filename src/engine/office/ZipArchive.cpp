#include "engine/office/ZipArchive.h"

#include <zip.h>

#include <algorithm>

#include "engine/model/EngineError.h"

namespace orv::engine {
namespace {

[[noreturn]] void RaiseDamaged() {
    RaiseEngineError(L"The file's zip container is damaged");
}

[[noreturn]] void RaiseEncrypted() {
    RaiseEngineError(
        L"The document is encrypted: open it with its password and save it without one");
}

[[noreturn]] void RaiseBomb() {
    RaiseEngineError(
        L"The file's zip container unpacks to far more than a document holds (a zip bomb)");
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// "/x", "C:x", "\\x" or a ".." step, with "/" or "\\" between steps.
bool LeavesTheArchive(std::string_view name) {
    if (name.empty()) return false;
    if (name[0] == '/' || name[0] == '\\') return true;
    if (name.size() >= 2 && name[1] == ':') return true;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

bool LooksLikeZip(std::string_view bytes) {
    return bytes.substr(0, 4) == std::string_view("PK\3\4", 4) ||
           bytes.substr(0, 4) == std::string_view("PK\5\6", 4);
}

bool LooksLikeCompoundFile(std::string_view bytes) {
    return bytes.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

ZipArchive::ZipArchive(std::string_view bytes) {
    if (LooksLikeCompoundFile(bytes))
        RaiseEngineError(
            L"The file is not a zip container but an OLE compound file: it is encrypted, or "
            L"in a binary Office format under another extension");
    if (!LooksLikeZip(bytes)) RaiseEngineError(L"The file is not a zip container");
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        RaiseEngineError(L"There is not enough memory to read the file");
    }
    archive_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    zip_error_fini(&error);
    if (!archive_) {
        zip_source_free(source);
        RaiseDamaged();
    }
    // A constructor that throws runs no destructor: the archive is let go here instead.
    try {
        IndexNames();
    } catch (...) {
        zip_discard(archive_);
        throw;
    }
}

void ZipArchive::IndexNames() {
    const zip_int64_t entries = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!name) RaiseDamaged();
        if (LeavesTheArchive(name))
            RaiseEngineError(
                L"The file's zip container names an entry by a path outside it (absolute, or "
                L"with a \"..\" step)");
        names_.emplace_back(name);
        // The first of two entries of one name is the one found, as in a scan.
        byName_.emplace(name, names_.size() - 1);
        byLowerName_.emplace(LowerAscii(name), names_.size() - 1);
    }
}

ZipArchive::~ZipArchive() {
    if (archive_) zip_discard(archive_);
}

std::optional<std::size_t> ZipArchive::IndexOf(std::string_view name) const {
    // Maps, not a scan: a reader looks up a part per slide or sheet, and a hostile archive may
    // hold a hundred thousand entries.
    if (const auto exact = byName_.find(std::string(name)); exact != byName_.end())
        return exact->second;
    if (const auto folded = byLowerName_.find(LowerAscii(name)); folded != byLowerName_.end())
        return folded->second;
    return std::nullopt;
}

std::optional<std::string> ZipArchive::Find(std::string_view name) const {
    if (const auto index = IndexOf(name)) return names_[*index];
    return std::nullopt;
}

std::optional<ZipArchive::Entry> ZipArchive::Open(std::string_view name) {
    const std::optional<std::size_t> index = IndexOf(name);
    if (!index) return std::nullopt;

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, *index, 0, &stat) != 0) RaiseDamaged();
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        RaiseEncrypted();
    if (!(stat.valid & ZIP_STAT_SIZE)) RaiseDamaged();
    // The sizes are what the archive states; reading stops at the stated size, and libzip
    // checks the data against it and the checksum, so a false statement is found as damage.
    if (stat.size > kMostUnpackedBytes - unpacked_) RaiseBomb();
    if ((stat.valid & ZIP_STAT_COMP_SIZE) && stat.size > kSmallestSuspectEntry &&
        stat.size / kHighestPackingRatio > stat.comp_size)
        RaiseBomb();

    zip_file_t* file = zip_fopen_index(archive_, *index, 0);
    if (!file) {
        if (zip_error_code_zip(zip_get_error(archive_)) == ZIP_ER_NOPASSWD) RaiseEncrypted();
        RaiseDamaged();
    }
    return Entry(file, stat.size, unpacked_);
}

std::optional<std::string> ZipArchive::Read(std::string_view name) {
    std::optional<Entry> entry = Open(name);
    if (!entry) return std::nullopt;
    std::string content(static_cast<std::size_t>(entry->left_), '\0');
    std::size_t filled = 0;
    while (filled < content.size()) {
        const std::size_t read = entry->Read(content.data() + filled, content.size() - filled);
        if (read == 0) RaiseDamaged();
        filled += read;
    }
    char extra;
    entry->Read(&extra, 1);  // the end: libzip checks the checksum there
    return content;
}

void ZipArchive::Entry::Close::operator()(zip_file* file) const noexcept {
    zip_fclose(file);
}

ZipArchive::Entry::Entry(zip_file* file, uint64_t size, uint64_t& unpacked)
    : file_(file), left_(size), unpacked_(&unpacked) {}

std::size_t ZipArchive::Entry::Read(char* buffer, std::size_t size) {
    if (size == 0) return 0;
    if (left_ == 0) {
        // Nothing more than stated may follow, and the checksum is checked at the end.
        char extra;
        if (zip_fread(file_.get(), &extra, 1) != 0) RaiseDamaged();
        return 0;
    }
    const uint64_t wanted = std::min<uint64_t>(size, left_);
    if (wanted > ZipArchive::kMostUnpackedBytes - *unpacked_) RaiseBomb();
    const zip_int64_t read = zip_fread(file_.get(), buffer, wanted);
    if (read <= 0) RaiseDamaged();
    left_ -= static_cast<uint64_t>(read);
    *unpacked_ += static_cast<uint64_t>(read);
    return static_cast<std::size_t>(read);
}

}  // namespace orv::engine
