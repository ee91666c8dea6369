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
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer) Fail("no buffer");
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!archive) Fail("cannot open");

    std::tm day{};
    day.tm_year = 126;
    day.tm_mday = 1;
    const time_t mtime = timegm(&day);
    for (const ZipEntry& entry : entries) {
        zip_source_t* content =
            zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
        const zip_int64_t index =
            zip_file_add(archive, entry.name.c_str(), content, ZIP_FL_ENC_UTF_8);
        if (index < 0) Fail("cannot add an entry");
        const auto at = static_cast<zip_uint64_t>(index);
        if (entry.stored) zip_set_file_compression(archive, at, ZIP_CM_STORE, 0);
        zip_file_set_mtime(archive, at, mtime, 0);
        if (!entry.password.empty() &&
            zip_file_set_encryption(archive, at, ZIP_EM_AES_256, entry.password.c_str()) != 0)
            Fail("cannot encrypt");
    }
    if (zip_close(archive) != 0) Fail("cannot close");

    std::string bytes;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) != 0 || zip_source_open(buffer) != 0) Fail("cannot read");
    bytes.resize(static_cast<std::size_t>(stat.size));
    if (zip_source_read(buffer, bytes.data(), bytes.size()) != static_cast<zip_int64_t>(stat.size))
        Fail("short read");
    zip_source_close(buffer);
    zip_source_free(buffer);
    return bytes;
}

}  // namespace orv::test
