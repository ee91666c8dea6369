// The file system where POSIX differs from Windows: symbolic links, names that differ only in
// case, file modes, and names that are bytes in the narrow encoding.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"
#include "platform/StdFileSystem.h"
#include "support/TempFolder.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using testing::ElementsAre;

std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

template <typename Work>
int32_t ErrorOf(Work work) {
    try {
        work();
        return 0;
    } catch (const AutomationError& error) {
        return error.number();
    }
}

const std::wstring kLoneSurrogate = std::wstring(L"a") + static_cast<wchar_t>(0xD800) + L".csv";

TEST(PosixFileSystemTest, SymbolicLinksCountAsWhatTheyPointTo) {
    TempFolder folder;
    folder.Write("logs/run.log", "x");
    fs::create_symlink(folder.path() / "logs/run.log", folder.path() / "link.log");
    fs::create_symlink(folder.path() / "missing.log", folder.path() / "dangling.log");
    fs::create_directory_symlink(folder.path() / "logs", folder.path() / "linked");
    StdFileSystem files;
    EXPECT_TRUE(files.FileExists(folder.wpath("link.log")));
    EXPECT_FALSE(files.FileExists(folder.wpath("dangling.log")));
    EXPECT_FALSE(files.FolderExists(folder.wpath("dangling.log")));
    EXPECT_TRUE(files.FolderExists(folder.wpath("linked")));
    EXPECT_EQ(files.ReadFile(folder.wpath("link.log")), "x");
}

TEST(PosixFileSystemTest, WildcardsMatchCaseSensitivelyInThePosixStyle) {
    TempFolder folder;
    for (const char* name : {"ORV1A.tmx", "orv1a.tmx", "ORV1A.ldb"}) folder.Write(name, "x");
    StdFileSystem files;
    EXPECT_EQ(ErrorOf([&] { files.DeleteFile(folder.wpath("ORV1A.*"), false); }), 0);
    EXPECT_THAT(FilesIn(folder.path()), ElementsAre("orv1a.tmx"));
    EXPECT_EQ(ErrorOf([&] { files.DeleteFile(folder.wpath("ORV1a.tmx"), false); }),
              kErrFileNotFound);
}

TEST(PosixFileSystemTest, ATextTheNarrowEncodingCannotHoldNamesNoPathAndNoFile) {
    TempFolder folder;
    folder.Write("a?.csv", "x");  // what the text would become if converted loosely
    StdFileSystem files;
    const std::wstring path = folder.wpath() + L"/" + kLoneSurrogate;
    EXPECT_FALSE(ToNativePath(path).has_value());
    EXPECT_FALSE(ToNativePath(std::wstring(L"a\0b", 3)).has_value());
    EXPECT_FALSE(files.FileExists(path));
    EXPECT_EQ(ErrorOf([&] { files.ReadFile(path); }), kErrBadFileName);
    EXPECT_EQ(ErrorOf([&] { files.WriteFile(path, "y"); }), kErrBadFileName);
    EXPECT_EQ(test::ReadBytes(folder.path() / "a?.csv"), "x");

    if (NarrowEncodingName() == "UTF-8") {
        const std::wstring name = L"Grüße €.csv";
        EXPECT_EQ(ToNativePath(name)->native(),
                  "Gr\xC3\xBC\xC3\x9F"
                  "e \xE2\x82\xAC.csv");
        EXPECT_EQ(FromNativePath(*ToNativePath(name)), name);
    }
}

TEST(PosixFileSystemTest, AFullDiskFailsTheWriteWith75WhetherAtTheWriteOrTheClose) {
    StdFileSystem files;
    // /dev/full takes every open and refuses every byte: a small text fails when the
    // buffer is written out at the close, a large one already while writing.
    for (std::size_t size : {std::size_t{1}, std::size_t{1} << 20}) {
        EXPECT_EQ(ErrorOf([&] { files.WriteFile(L"/dev/full", std::string(size, 'x')); }),
                  kErrPathFileAccess)
            << size;
    }
}

TEST(PosixFileSystemTest, FileModesThatRefuseAccessRaise70) {
    if (geteuid() == 0) GTEST_SKIP() << "file modes do not bind root";
    TempFolder folder;
    const fs::path locked = folder.Write("locked.csv", "x");
    fs::permissions(locked, fs::perms::none);
    StdFileSystem files;
    EXPECT_EQ(ErrorOf([&] { files.ReadFile(folder.wpath("locked.csv")); }), kErrPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { files.WriteFile(folder.wpath("locked.csv"), "y"); }),
              kErrPermissionDenied);
}

}  // namespace
}  // namespace orv
