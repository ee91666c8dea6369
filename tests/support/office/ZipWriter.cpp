#include "support/office/ZipWriter.h"

#include <zip.h>

#include <ctime>
#include <stdexcept>

namespace orv::test {
namespace {

[[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string("ZipBytes: ") + what);
}

}  // namespace

std::string ZipBytes(const std::vector<ZipEntry>& entries) {
    // Released on every way out, a throw included: the fuzz targets zip what they are given,
    // and a part list that cannot be zipped must not leak.
    struct Resources {
        zip_source_t* buffer = nullptr;
        zip_t* archive = nullptr;
        ~Resources() {
            if (archive) zip_discard(archive);
            if (buffer) zip_source_free(buffer);
        }
    } held;

    zip_error_t error;
    zip_error_init(&error);
    held.buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!held.buffer) {
        zip_error_fini(&error);
        Fail("no buffer");
    }
    zip_source_keep(held.buffer);
    held.archive = zip_open_from_source(held.buffer, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!held.archive) Fail("cannot open");

    // One fixed date, 2026-01-01 00:00 UTC, so that a file written twice is the same bytes.
    constexpr time_t mtime = 1767225600;
    for (const ZipEntry& entry : entries) {
        zip_source_t* content =
            zip_source_buffer(held.archive, entry.content.data(), entry.content.size(), 0);
        if (!content) Fail("no entry buffer");
        const zip_int64_t index =
            zip_file_add(held.archive, entry.name.c_str(), content, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(content);
            Fail("cannot add an entry");
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if (entry.stored) zip_set_file_compression(held.archive, at, ZIP_CM_STORE, 0);
        zip_file_set_mtime(held.archive, at, mtime, 0);
        if (!entry.password.empty() &&
            zip_file_set_encryption(held.archive, at, ZIP_EM_AES_256, entry.password.c_str()) != 0)
            Fail("cannot encrypt");
    }
    if (zip_close(held.archive) != 0) Fail("cannot close");
    held.archive = nullptr;  // closed, and so freed

    std::string bytes;
    zip_stat_t stat;
    if (zip_source_stat(held.buffer, &stat) != 0 || zip_source_open(held.buffer) != 0)
        Fail("cannot read");
    bytes.resize(static_cast<std::size_t>(stat.size));
    const zip_int64_t read = zip_source_read(held.buffer, bytes.data(), bytes.size());
    zip_source_close(held.buffer);
    if (read != static_cast<zip_int64_t>(stat.size)) Fail("short read");
    return bytes;
}

}  // namespace orv::test
