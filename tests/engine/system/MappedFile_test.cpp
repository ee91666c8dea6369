// A file mapped into memory: exactly its bytes, for as long as the mapping stands, whatever
// becomes of the open file and of its name meanwhile.

#include "engine/system/MappedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "engine/system/FileFailure.h"
#include "engine/system/SystemFile.h"
#include "support/TempFolder.h"

namespace orv::engine::test {
namespace {

namespace fs = std::filesystem;
using orv::test::TempFolder;

std::string Text(const MappedFile& mapped) {
    const auto bytes = mapped.bytes();
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

MappedFile MapPath(const fs::path& path) {
    return MappedFile::Map(SystemFile::OpenToRead(path.wstring()));  // the file closes here
}

TEST(MappedFile, GivesExactlyTheFilesBytesAfterTheFileCloses) {
    std::string large(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7919 >> 3);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"empty", ""}, {"small", std::string("a\0b\r\n", 5)}, {"a few MB", large}};
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MappedFile mapped = MapPath(folder.Write(c.name, c.bytes));
        EXPECT_EQ(mapped.bytes().size(), c.bytes.size());
        EXPECT_TRUE(Text(mapped) == c.bytes);
    }
}

TEST(MappedFile, AMovedMappingIsUnmappedOnceAndAFolderIsRefused) {
    TempFolder folder;
    MappedFile mapped = MapPath(folder.Write("a.bin", "abc"));
    mapped = MappedFile(std::move(mapped));
    mapped = MapPath(folder.Write("b.bin", "defg"));
    EXPECT_EQ(Text(mapped), "defg");
    fs::create_directories(folder.path() / "sub");
    EXPECT_THROW(MappedFile::Map(SystemFile::OpenToRead(folder.wpath("sub"))), FileFailure);
}

#ifndef _WIN32
// Windows refuses to replace a mapped file, so a reader there never sees this.
TEST(MappedFile, StaysTheOldFileWhenANewOneIsRenamedOverIt) {
    TempFolder folder;
    const fs::path file = folder.Write("index.cache", "old bytes");
    const MappedFile mapped = MapPath(file);
    RenameReplacing(folder.Write("new.cache", "new bytes, longer").wstring(), file.wstring());
    EXPECT_EQ(Text(mapped), "old bytes");
    EXPECT_EQ(Text(MapPath(file)), "new bytes, longer");
}
#endif

}  // namespace
}  // namespace orv::engine::test
