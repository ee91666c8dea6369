#include "platform/StdFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/AutomationError.h"
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

// The error number `work` raises, or 0 when it succeeds.
template <typename Work>
int32_t ErrorOf(Work work) {
    try {
        work();
        return 0;
    } catch (const AutomationError& error) {
        return error.number();
    }
}

TEST(StdFileSystemTest, FilesAndFoldersExistOnlyAsSuchAndDeletingNoFileIsFileNotFound) {
    TempFolder folder;
    folder.Write("logs/run.log", "x");
    StdFileSystem files;
    struct Case {
        std::wstring path;
        bool file, folder;
    };
    const Case cases[] = {
        {folder.wpath("logs/run.log"), true, false},
        {folder.wpath("logs"), false, true},
        {folder.wpath("missing.log"), false, false},
        {folder.wpath("logs/run.log") + std::wstring(L"\0.txt", 5), false, false},
        {L"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files.FileExists(c.path), c.file) << testing::PrintToString(c.path);
        EXPECT_EQ(files.FolderExists(c.path), c.folder) << testing::PrintToString(c.path);
    }
    for (const std::wstring& path :
         {folder.wpath("missing.log"), folder.wpath("logs"), folder.wpath("*.none"),
          folder.wpath("missing/*.log"), std::wstring()}) {
        EXPECT_EQ(ErrorOf([&] { files.DeleteFile(path, true); }), kErrFileNotFound)
            << testing::PrintToString(path);
    }
    EXPECT_TRUE(fs::exists(folder.path() / "logs/run.log"));
}

TEST(StdFileSystemTest, DeletesOnlyTheFilesAWildcardMatchesIgnoringCaseInTheWindowsStyle) {
    TempFolder folder;
    for (const char* name : {"ORV1A.tmx", "ORV1A.ldb", "ORV1A", "ORV2B.tmx", "XORV1A.tmx",
                             "ORV1A.tmx.bak", "ORV3C.tmx"}) {
        folder.Write(name, "x");
    }
    fs::create_directory(folder.path() / "ORV1A.dir");
    StdFileSystem windows(PathStyle::Windows);
    EXPECT_EQ(ErrorOf([&] { windows.DeleteFile(folder.wpath("orv1a.*"), false); }), 0);
    EXPECT_THAT(FilesIn(folder.path()),
                ElementsAre("ORV1A", "ORV1A.dir", "ORV2B.tmx", "ORV3C.tmx", "XORV1A.tmx"));
    EXPECT_EQ(ErrorOf([&] { windows.DeleteFile(folder.wpath("ORV?B.t?x"), false); }), 0);
    EXPECT_EQ(ErrorOf([&] { windows.DeleteFile(folder.wpath("orv3?.TMX"), false); }), 0);
    EXPECT_THAT(FilesIn(folder.path()), ElementsAre("ORV1A", "ORV1A.dir", "XORV1A.tmx"));
}

TEST(StdFileSystemTest, ReadOnlyFileIsRefusedWithoutForceAndDeletedWithIt) {
    TempFolder folder;
    fs::permissions(folder.Write("locked.tmx", "x"), fs::perms::owner_read);
    folder.Write("open.tmx", "x");
    StdFileSystem files;

    EXPECT_EQ(ErrorOf([&] { files.DeleteFile(folder.wpath("locked.tmx"), false); }),
              kErrPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { files.DeleteFile(folder.wpath("*.tmx"), false); }),
              kErrPermissionDenied);
    EXPECT_THAT(FilesIn(folder.path()), ElementsAre("locked.tmx", "open.tmx"));

    EXPECT_EQ(ErrorOf([&] { files.DeleteFile(folder.wpath("*.tmx"), true); }), 0);
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(StdFileSystemTest, WritesAndReadsBytesUnchangedAndTruncatesAnExistingFile) {
    TempFolder folder;
    StdFileSystem files;
    const std::wstring path = folder.wpath("job.tmp");
    const std::string bytes("line 1\r\nline 2\n\0\xFF\x80 end", 20);
    files.WriteFile(path, std::string(100000, 'x'));
    files.WriteFile(path, bytes);
    EXPECT_EQ(files.ReadFile(path), bytes);
    EXPECT_EQ(test::ReadBytes(folder.path() / "job.tmp"), bytes);
    files.WriteFile(path, "");
    EXPECT_EQ(files.ReadFile(path), "");
}

TEST(StdFileSystemTest, ReadAndWriteFailuresRaiseTheRuntimeErrorOfTheirCause) {
    TempFolder folder;
    folder.Write("logs/run.csv", "x");
    StdFileSystem files;
    const std::wstring nul = folder.wpath("run.csv") + std::wstring(L"\0.txt", 5);
    const struct {
        std::wstring path;
        int32_t read, write;
    } cases[] = {
        {folder.wpath("missing.csv"), kErrFileNotFound, 0},
        {folder.wpath("missing/run.csv"), kErrFileNotFound, kErrFileNotFound},
        {folder.wpath("logs"), kErrPathFileAccess, kErrPathFileAccess},
        {nul, kErrBadFileName, kErrBadFileName},
        {L"", kErrBadFileName, kErrBadFileName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(ErrorOf([&] { files.ReadFile(c.path); }), c.read);
        EXPECT_EQ(ErrorOf([&] { files.WriteFile(c.path, "new"); }), c.write);
    }
    // A NUL cuts nothing short: the file before it stays untouched.
    EXPECT_FALSE(fs::exists(folder.path() / "run.csv"));
    EXPECT_EQ(test::ReadBytes(folder.path() / "logs/run.csv"), "x");
}

}  // namespace
}  // namespace orv
