// The per-user cache folder: which environment variable names it, and folders made for it
// that only their owner can look into.

#include "engine/system/CacheFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/TempFolder.h"

namespace orv::engine::test {
namespace {

namespace fs = std::filesystem;
using orv::test::TempFolder;

void SetVariable(const char* name, const char* value) {
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

// Sets (nullptr: unsets) a variable for one case; the value before comes back after it.
struct VariableForACase {
    VariableForACase(const char* variable, const char* value) : name(variable) {
        if (const char* now = std::getenv(name)) before = now;
        SetVariable(name, value);
    }
    ~VariableForACase() { SetVariable(name, before ? before->c_str() : nullptr); }
    const char* name;
    std::optional<std::string> before;
};

TEST(CacheFolder, TheUsersCacheFolderFollowsTheEnvironment) {
    const struct {
        const char* name;
        const char* xdg;
        const char* home;
        std::optional<std::wstring> expected;
    } cases[] = {
        {"XDG absolute", "/var/cache/u/", "/home/u", L"/var/cache/u/orvbatch"},
        {"XDG relative is ignored", "cache", "/home/u", L"/home/u/.cache/orvbatch"},
        {"XDG empty", "", "/home/u", L"/home/u/.cache/orvbatch"},
        {"HOME only", nullptr, "/home/u", L"/home/u/.cache/orvbatch"},
        {"HOME relative", nullptr, "u", std::nullopt},
        {"neither", nullptr, nullptr, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const VariableForACase xdg("XDG_CACHE_HOME", c.xdg);
        const VariableForACase home("HOME", c.home);
        EXPECT_EQ(UserCacheFolder(L"orvbatch"), c.expected);
        EXPECT_FALSE(UserCacheFolder(L"../elsewhere").has_value());
    }
}

mode_t ModeOf(const fs::path& folder) {
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 ? status.st_mode & 0777 : 0;
}

TEST(CacheFolder, MissingFoldersAreMadeForTheOwnerAlone) {
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0755);
    const mode_t umaskBefore = ::umask(0);
    EXPECT_TRUE(EnsureFolder(folder.wpath("a/b/c")));
    EXPECT_TRUE(EnsureFolder(folder.wpath("a/b/c/"))) << "a folder that is there";
    ::umask(umaskBefore);
    for (const char* made : {"a", "a/b", "a/b/c"}) EXPECT_EQ(ModeOf(folder.path() / made), 0700u);
    EXPECT_EQ(ModeOf(folder.path()), 0755u) << "a folder that was there is left as it was";

    folder.Write("file", "x");
    EXPECT_FALSE(EnsureFolder(folder.wpath("file/sub"))) << "a file in the way";
}

TEST(CacheFolder, NoFolderIsMadeUnderAReadOnlyParent) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write into a read-only folder";
    TempFolder folder;
    fs::create_directories(folder.path() / "locked");
    ::chmod((folder.path() / "locked").c_str(), 0500);
    EXPECT_FALSE(EnsureFolder(folder.wpath("locked/x/y")));
    ::chmod((folder.path() / "locked").c_str(), 0700);
}

}  // namespace
}  // namespace orv::engine::test
