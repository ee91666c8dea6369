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

TEST(PathSyntaxTest, WildcardsMatchAnyRunOrOneCharacterAndTheWholeName) {
    const struct {
        std::wstring pattern, name;
        bool matches;
    } cases[] = {
        {L"ORV1A.*", L"ORV1A.tmx", true},
        {L"ORV1A.*", L"ORV1A.", true},
        {L"ORV1A.*", L"ORV1A", false},
        {L"ORV1A.*", L"XORV1A.tmx", false},
        {L"*.tmx", L"a.tmx.bak", false},
        {L"*a*b*", L"xxaxxbxx", true},
        {L"*a*b", L"abab", true},
        {L"*a*b", L"abba", false},
        {L"?.log", L"a.log", true},
        {L"?.log", L".log", false},
        {L"**", L"", true},
        {L"a?", L"a", false},
        {L"ORV1a.tmx", L"ORV1A.tmx", false},  // case is the caller's to fold
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches)
            << ToNarrow(c.pattern) << " on " << ToNarrow(c.name);
    }
    // Backtracking to the last star only keeps a hostile pattern fast.
    EXPECT_FALSE(MatchesWildcard(std::wstring(50, L'*') + L"b", std::wstring(20000, L'a')));
}

}  // namespace
}  // namespace orv
