#include "platform/PathSyntax.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct PathCase {
    PathStyle style;
    std::wstring path;
    std::wstring name;
    std::wstring folder;
    std::wstring base;
    std::wstring extension;
};

class PathSyntaxTest : public testing::TestWithParam<PathCase> {};

TEST_P(PathSyntaxTest, SplitsThePathIntoFolderNameBaseAndExtension) {
    const PathCase& c = GetParam();
    EXPECT_EQ(LastPathComponent(c.path, c.style), c.name);
    EXPECT_EQ(FolderOfPath(c.path, c.style), c.folder);
    EXPECT_EQ(BaseNameOfPath(c.path, c.style), c.base);
    EXPECT_EQ(ExtensionOfPath(c.path, c.style), c.extension);
}

constexpr PathStyle kPosix = PathStyle::Posix;
constexpr PathStyle kWindows = PathStyle::Windows;

INSTANTIATE_TEST_SUITE_P(
    BothStyles, PathSyntaxTest,
    testing::Values(
        PathCase{kWindows, L"D:\\Logs\\Logs", L"Logs", L"D:\\Logs", L"Logs", L""},
        PathCase{kWindows, L"C:\\Logs\\run.log", L"run.log", L"C:\\Logs", L"run", L"log"},
        PathCase{kWindows, L"C:/a/b.txt", L"b.txt", L"C:/a", L"b", L"txt"},
        PathCase{kWindows, L"C:\\a/b\\c.d.txt", L"c.d.txt", L"C:\\a/b", L"c.d", L"txt"},
        PathCase{kWindows, L"C:\\my.logs\\run", L"run", L"C:\\my.logs", L"run", L""},
        PathCase{kWindows, L"\\analysis.log", L"analysis.log", L"\\", L"analysis", L"log"},
        PathCase{kWindows, L"run.log", L"run.log", L"run.log", L"run", L"log"},
        PathCase{kPosix, L"/analysis.log", L"analysis.log", L"/", L"analysis", L"log"},
        PathCase{kPosix, L"/var/my.logs/run", L"run", L"/var/my.logs", L"run", L""},
        PathCase{kPosix, L"/tmp/a\\b.txt", L"a\\b.txt", L"/tmp", L"a\\b", L"txt"},
        PathCase{kPosix, L"run.log", L"run.log", L"run.log", L"run", L"log"},
        PathCase{kPosix, L"/tmp/archive.tar.gz", L"archive.tar.gz", L"/tmp", L"archive.tar", L"gz"},
        PathCase{kPosix, L"/tmp/name.", L"name.", L"/tmp", L"name", L""},
        PathCase{kPosix, L"/tmp/logs/", L"", L"/tmp/logs", L"", L""},
        PathCase{kPosix, L"", L"", L"", L"", L""}));

TEST(PathSeparatorTest, BackslashSeparatesOnlyInTheWindowsStyle) {
    EXPECT_TRUE(IsPathSeparator(L'\\', PathStyle::Windows));
    EXPECT_FALSE(IsPathSeparator(L'\\', PathStyle::Posix));
    EXPECT_TRUE(IsPathSeparator(L'/', PathStyle::Windows));
    EXPECT_TRUE(IsPathSeparator(L'/', PathStyle::Posix));
    EXPECT_EQ(LastSeparator(L"a\\b", PathStyle::Posix), std::wstring::npos);
}

}  // namespace
}  // namespace orv
