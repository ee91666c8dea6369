#include "platform/StdFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

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

void MakeReadOnly(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(StdFileSystemTest, FileExistsOnlyForFilesAndFolderExistsOnlyForFolders) {
    TempFolder folder;
    folder.Write("logs/run.log", "x");
    fs::create_symlink(folder.path() / "logs/run.log", folder.path() / "link.log");
    fs::create_symlink(folder.path() / "missing.log", folder.path() / "dangling.log");
    StdFileSystem files;
    struct Case {
        std::wstring path;
        bool file;
        bool folder;
    };
    const Case cases[] = {
        {folder.wpath("logs/run.log"), true, false},
        {folder.wpath("logs"), false, true},
        {folder.wpath("logs/"), false, true},
        {folder.wpath("link.log"), true, false},
        {folder.wpath("dangling.log"), false, false},
        {folder.wpath("missing.log"), false, false},
        {folder.wpath("logs/run.log/x"), false, false},
        {folder.wpath("logs/run.log") + std::wstring(L"\0.txt", 5), false, false},
        {L"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files.FileExists(c.path), c.file) << testing::PrintToString(c.path);
        EXPECT_EQ(files.FolderExists(c.path), c.folder) << testing::PrintToString(c.path);
    }
}

TEST(StdFileSystemTest, NamesAreSplitInTheChosenStyle) {
    StdFileSystem windows(PathStyle::Windows), posix(PathStyle::Posix);
    EXPECT_EQ(windows.GetFileName(L"C:\\Logs\\run.csv.log"), L"run.csv.log");
    EXPECT_EQ(windows.GetBaseName(L"C:\\Logs\\run.csv.log"), L"run.csv");
    EXPECT_EQ(windows.GetExtensionName(L"C:\\Logs\\run.csv.log"), L"log");
    EXPECT_EQ(posix.GetFileName(L"/a/b\\c.txt"), L"b\\c.txt");
}

TEST(StdFileSystemTest, DeletesOneFile) {
    TempFolder folder;
    folder.Write("job.TMP", "x");
    folder.Write("other.TMP", "x");
    StdFileSystem files;
    EXPECT_EQ(DeleteError(files, folder.wpath("job.TMP"), false), 0);
    EXPECT_THAT(FilesIn(folder.path()), testing::ElementsAre("other.TMP"));
}

TEST(StdFileSystemTest, WildcardDeletesOnlyTheMatchingFiles) {
    TempFolder folder;
    for (const char* name : {"ORV1A.tmx", "ORV1A.ldb", "ORV1A", "ORV2B.tmx", "orv1a.tmx",
                             "XORV1A.tmx", "ORV1A.tmx.bak"}) {
        folder.Write(name, "x");
    }
    fs::create_directory(folder.path() / "ORV1A.dir");
    StdFileSystem files;
    EXPECT_EQ(DeleteError(files, folder.wpath("ORV1A.*"), true), 0);
    EXPECT_THAT(FilesIn(folder.path()),
                testing::ElementsAre("ORV1A", "ORV1A.dir", "ORV2B.tmx", "XORV1A.tmx", "orv1a.tmx"));
    EXPECT_EQ(DeleteError(files, folder.wpath("ORV?B*"), true), 0);
    EXPECT_EQ(DeleteError(files, folder.wpath("*1a.t?x"), true), 0);
    EXPECT_THAT(FilesIn(folder.path()), testing::ElementsAre("ORV1A", "ORV1A.dir", "XORV1A.tmx"));
}

TEST(StdFileSystemTest, WindowsStyleWildcardIgnoresCase) {
    TempFolder folder;
    folder.Write("ORV1A.TMX", "x");
    folder.Write("Other.tmx", "x");
    StdFileSystem files(PathStyle::Windows);
    EXPECT_EQ(DeleteError(files, folder.wpath("orv1a.*"), true), 0);
    EXPECT_THAT(FilesIn(folder.path()), testing::ElementsAre("Other.tmx"));
}

TEST(StdFileSystemTest, ReadOnlyFileIsRefusedWithoutForceAndDeletedWithIt) {
    TempFolder folder;
    MakeReadOnly(folder.Write("locked.tmx", "x"));
    folder.Write("open.tmx", "x");
    StdFileSystem files;

    EXPECT_EQ(DeleteError(files, folder.wpath("locked.tmx"), false), kErrPermissionDenied);
    EXPECT_EQ(DeleteError(files, folder.wpath("*.tmx"), false), kErrPermissionDenied);
    EXPECT_THAT(FilesIn(folder.path()), testing::ElementsAre("locked.tmx", "open.tmx"));

    EXPECT_EQ(DeleteError(files, folder.wpath("locked.tmx"), true), 0);
    EXPECT_THAT(FilesIn(folder.path()), testing::ElementsAre("open.tmx"));
}

TEST(StdFileSystemTest, NothingToDeleteIsFileNotFound) {
    TempFolder folder;
    folder.Write("logs/run.log", "x");
    StdFileSystem files;
    for (const std::wstring& path :
         {folder.wpath("missing.log"), folder.wpath("logs"), folder.wpath("logs/"),
          folder.wpath("*.none"), folder.wpath("missing/*.log"), folder.wpath("logs/run.log/*"),
          std::wstring()}) {
        EXPECT_EQ(DeleteError(files, path, true), kErrFileNotFound) << testing::PrintToString(path);
    }
    EXPECT_TRUE(fs::exists(folder.path() / "logs/run.log"));
}

TEST(StdFileSystemTest, OsRefusalWhileDeletingIsPermissionDenied) {
    TempFolder folder;
    folder.Write("logs/run.log", "x");
    fs::permissions(folder.path() / "logs", fs::perms::owner_read | fs::perms::owner_exec);
    if (access((folder.path() / "logs").c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    StdFileSystem files;
    EXPECT_EQ(DeleteError(files, folder.wpath("logs/run.log"), true), kErrPermissionDenied);
}

}  // namespace
}  // namespace orv
