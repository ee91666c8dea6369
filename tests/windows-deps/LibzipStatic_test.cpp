// libzip linked statically with zlib: an archive written into memory reads back entry for
// entry, and a deflated entry is really smaller than its text.

#include <zip.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct Entry {
    std::string name;
    std::string content;
    int32_t method;
};

// Writes the entries into a zip archive in memory and returns its bytes.
std::string WriteArchive(const std::vector<Entry>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    EXPECT_NE(buffer, nullptr) << zip_error_strerror(&error);
    if (buffer == nullptr) return {};
    // The archive must not free the buffer when it is closed: its bytes are the result.
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr) << zip_error_strerror(&error);
    for (const Entry& entry : entries) {
        zip_source_t* content =
            zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), content, 0);
        EXPECT_GE(index, 0) << zip_strerror(archive);
        EXPECT_EQ(
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), entry.method, 0),
            0);
    }
    EXPECT_EQ(zip_close(archive), 0);

    std::string bytes;
    EXPECT_EQ(zip_source_open(buffer), 0);
    zip_source_seek(buffer, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(zip_source_tell(buffer)));
    zip_source_seek(buffer, 0, SEEK_SET);
    EXPECT_EQ(zip_source_read(buffer, bytes.data(), bytes.size()),
              static_cast<zip_int64_t>(bytes.size()));
    zip_source_close(buffer);
    zip_source_free(buffer);
    return bytes;
}

Archive OpenArchive(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive == nullptr) zip_source_free(source);
    return Archive(archive);
}

std::string ReadEntry(zip_t* archive, const std::string& name) {
    zip_stat_t stat;
    if (zip_stat(archive, name.c_str(), 0, &stat) != 0) return "(missing)";
    zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
    if (file == nullptr) return "(unreadable)";
    std::string content(static_cast<std::size_t>(stat.size), '\0');
    const zip_int64_t read = zip_fread(file, content.data(), content.size());
    zip_fclose(file);
    return read == static_cast<zip_int64_t>(content.size()) ? content : "(short)";
}

TEST(LibzipStaticTest, AnArchiveWrittenToMemoryReadsBackEveryEntry) {
    const std::vector<Entry> entries = {
        {"word/document.xml", std::string(4000, 'a') + "<w:t>Text</w:t>", ZIP_CM_DEFLATE},
        {"mimetype", "application/vnd.oasis.opendocument.text", ZIP_CM_STORE},
        {"empty.txt", "", ZIP_CM_DEFLATE},
        {"Ordner/Übersicht.txt", "Grüße", ZIP_CM_DEFLATE},
    };
    const std::string bytes = WriteArchive(entries);
    ASSERT_FALSE(bytes.empty());
    const Archive archive = OpenArchive(bytes);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(zip_get_num_entries(archive.get(), 0), static_cast<zip_int64_t>(entries.size()));
    for (const Entry& entry : entries)
        EXPECT_EQ(ReadEntry(archive.get(), entry.name), entry.content) << entry.name;

    zip_stat_t stat;
    ASSERT_EQ(zip_stat(archive.get(), "word/document.xml", 0, &stat), 0);
    EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE);
    EXPECT_LT(stat.comp_size, stat.size / 10);
}

TEST(LibzipStaticTest, BytesThatAreNoArchiveAreRefused) {
    EXPECT_EQ(OpenArchive("PK\x03\x04 not really a zip archive"), nullptr);
}

}  // namespace
