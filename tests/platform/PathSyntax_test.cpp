#include "platform/PathSyntax.h"

#include <gtest/gtest.h>

#include "platform/NarrowText.h"

namespace orv {
namespace {

TEST(PathSyntaxTest, SplitsAPathIntoFolderNameBaseAndExtensionInEitherStyle) {
    constexpr PathStyle kPosix = PathStyle::Posix, kWindows = PathStyle::Windows;
    struct Case {
        PathStyle style;
        std::wstring path, folder, name, base, extension;
    };
    const Case cases[] = {
        {kWindows, L"C:\\Logs\\run.log", L"C:\\Logs", L"run.log", L"run", L"log"},
        {kWindows, L"C:\\a/b\\c.d.txt", L"C:\\a/b", L"c.d.txt", L"c.d", L"txt"},
        {kWindows, L"C:\\my.logs\\run", L"C:\\my.logs", L"run", L"run", L""},
        {kPosix, L"/analysis.log", L"/", L"analysis.log", L"analysis", L"log"},
        {kPosix, L"/tmp/a\\b.txt", L"/tmp", L"a\\b.txt", L"a\\b", L"txt"},
        {kPosix, L"run.log", L"run.log", L"run.log", L"run", L"log"},
        {kPosix, L"/tmp/name.", L"/tmp", L"name.", L"name", L""},
        {kPosix, L"/tmp/logs/", L"/tmp/logs", L"", L"", L""},
        {kPosix, L"", L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToNarrow(c.path));
        EXPECT_EQ(FolderOfPath(c.path, c.style), c.folder);
        EXPECT_EQ(LastPathComponent(c.path, c.style), c.name);
        EXPECT_EQ(BaseNameOfPath(c.path, c.style), c.base);
        EXPECT_EQ(ExtensionOfPath(c.path, c.style), c.extension);
    }
}

}  // namespace
}  // namespace orv
