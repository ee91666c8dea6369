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

// The error number DeleteFile raises, or 0 when it succeeds.
int32_t DeleteError(FileSystem& files, const std::wstring& path, bool force) {
    try {
        files.DeleteFile(path, force);
        return 0;
    } catch (const AutomationError& error) {
        return error.number();
    }
}

TEST(StdFileSystemTest, FilesAndFoldersExistOnlyAsSuchAndDeletingNoFileIsFileNotFound) {
    TempFolder folder;
    folder.Write("logs/run.log", "x");
    fs::create_symlink(folder.path() / "logs/run.log", folder.path() / "link.log");
    fs::create_symlink(folder.path() / "missing.log", folder.path() / "dangling.log");
    StdFileSystem files;
    struct Case {
        std::wstring path;
        bool file, folder;
    };
    const Case cases[] = {
        {folder.wpath("logs/run.log"), true, false},
        {folder.wpath("logs"), false, true},
        {folder.wpath("link.log"), true, false},
        {folder.wpath("dangling.log"), false, false},
        {folder.wpath("missing.log"), false, false},
        {folder.wpath("logs/run.log") + std::wstring(L"\0.txt", 5), false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files.FileExists(c.path), c.file) << testing::PrintToString(c.path);
        EXPECT_EQ(files.FolderExists(c.path), c.folder) << testing::PrintToString(c.path);
    }
    for (const std::wstring& path :
         {folder.wpath("missing.log"), folder.wpath("logs"), folder.wpath("*.none"),
          folder.wpath("missing/*.log"), std::wstring()}) {
        EXPECT_EQ(DeleteError(files, path, true), kErrFileNotFound) << testing::PrintToString(path);
    }
    EXPECT_TRUE(fs::exists(folder.path() / "logs/run.log"));
}

TEST(StdFileSystemTest, DeletesOnlyTheFilesThePathOrWildcardMatchesInTheStylesCase) {
    TempFolder folder;
    for (const char* name : {"ORV1A.tmx", "ORV1A.ldb", "ORV1A", "ORV2B.tmx", "orv1a.tmx",
                             "XORV1A.tmx", "ORV1A.tmx.bak"}) {
        folder.Write(name, "x");
    }
    fs::create_directory(folder.path() / "ORV1A.dir");
    StdFileSystem files;
    EXPECT_EQ(DeleteError(files, folder.wpath("ORV1A.*"), false), 0);
    EXPECT_THAT(FilesIn(folder.path()),
                ElementsAre("ORV1A", "ORV1A.dir", "ORV2B.tmx", "XORV1A.tmx", "orv1a.tmx"));
    EXPECT_EQ(DeleteError(files, folder.wpath("ORV?B.t?x"), false), 0);
    EXPECT_EQ(DeleteError(files, folder.wpath("orv1a.tmx"), false), 0);
    EXPECT_THAT(FilesIn(folder.path()), ElementsAre("ORV1A", "ORV1A.dir", "XORV1A.tmx"));
    StdFileSystem windows(PathStyle::Windows);  // ignores case
    EXPECT_EQ(DeleteError(windows, folder.wpath("xorv1a.*"), false), 0);
    EXPECT_THAT(FilesIn(folder.path()), ElementsAre("ORV1A", "ORV1A.dir"));
}

TEST(StdFileSystemTest, ReadOnlyFileIsRefusedWithoutForceAndDeletedWithIt) {
    TempFolder folder;
    fs::permissions(folder.Write("locked.tmx", "x"), fs::perms::owner_read);
    folder.Write("open.tmx", "x");
    StdFileSystem files;

    EXPECT_EQ(DeleteError(files, folder.wpath("locked.tmx"), false), kErrPermissionDenied);
    EXPECT_EQ(DeleteError(files, folder.wpath("*.tmx"), false), kErrPermissionDenied);
    EXPECT_THAT(FilesIn(folder.path()), ElementsAre("locked.tmx", "open.tmx"));

    EXPECT_EQ(DeleteError(files, folder.wpath("locked.tmx"), true), 0);
    EXPECT_THAT(FilesIn(folder.path()), ElementsAre("open.tmx"));
}

}  // namespace
}  // namespace orv
