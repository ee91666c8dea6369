#include "platform/posix/PosixPlatform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "platform/NarrowText.h"
#include "platform/PathSyntax.h"
#include "support/TempFolder.h"

namespace orv {
namespace {

using test::TempFolder;

TEST(PosixPlatformTest, TempFilesAreNewEmptyPrivateAndPrefixedOrElseNotMadeAtAll) {
    TempFolder folder;
    PosixPlatform platform;
    EXPECT_EQ(platform.CreateUniqueTempFile(folder.wpath("missing"), L"ORV"), L"");
    EXPECT_EQ(platform.CreateUniqueTempFile(L"", L"ORV"), L"");
    EXPECT_EQ(platform.CreateUniqueTempFile(folder.wpath(), L"sub/ORV"), L"");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    const std::wstring first = platform.CreateUniqueTempFile(folder.wpath(), L"ORV");
    // A folder ending in a separator gives no double separator.
    const std::wstring second = platform.CreateUniqueTempFile(folder.wpath() + L"/", L"ORV");
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    for (const std::wstring& path : {first, second}) {
        const std::wstring name = LastPathComponent(path);
        EXPECT_EQ(FolderOfPath(path), folder.wpath());
        EXPECT_EQ(name.substr(0, 3), L"ORV");
        EXPECT_EQ(name.substr(name.size() - 4), L".TMP");
        struct stat info {};
        ASSERT_EQ(stat(ToNarrow(path).c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_size, 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
}

TEST(PosixPlatformTest, NumbersUseTheDecimalSeparatorOfTheChosenLocaleOnly) {
    const std::optional<double> kNone;
    struct Case {
        std::wstring text;
        std::optional<double> plain, german;
    };
    const Case cases[] = {
        {L"4.25", 4.25, kNone}, {L"4,25", kNone, 4.25},     {L" \t-4.25\t ", -4.25, kNone},
        {L".5", 0.5, kNone},    {L"2e+2", 200.0, 200.0},    {L"1,5E-3", kNone, 0.0015},
        {L"", kNone, kNone},    {L"-", kNone, kNone},       {L"1e", kNone, kNone},
        {L"1 2", kNone, kNone}, {L"1.000,5", kNone, kNone}, {L"1e999", kNone, kNone},
        {L"nan", kNone, kNone}, {L"0x1A", kNone, kNone},
    };
    PosixPlatform plain("C");
    EXPECT_EQ(plain.FormatNineTenths(), L"0.9");
    EXPECT_EQ(PosixPlatform("xx_NOWHERE.UTF-8").FormatNineTenths(), L"0.9");
    for (const Case& c : cases) {
        EXPECT_EQ(plain.ParseNumber(c.text), c.plain) << "C: " << testing::PrintToString(c.text);
    }

    PosixPlatform german("de_DE.UTF-8");
    ASSERT_EQ(german.FormatNineTenths(), L"0,9")
        << "the locale de_DE.UTF-8 is missing: run `make locale`";
    for (const Case& c : cases) {
        EXPECT_EQ(german.ParseNumber(c.text), c.german)
            << "de_DE: " << testing::PrintToString(c.text);
    }
}

// TMPDIR as the test wants it (nullptr: not set) until the scope ends.
class ScopedTmpdir {
public:
    explicit ScopedTmpdir(const char* value) {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        value ? ::setenv("TMPDIR", value, 1) : ::unsetenv("TMPDIR");
    }
    ~ScopedTmpdir() { old_ ? ::setenv("TMPDIR", old_->c_str(), 1) : ::unsetenv("TMPDIR"); }
    ScopedTmpdir(const ScopedTmpdir&) = delete;
    ScopedTmpdir& operator=(const ScopedTmpdir&) = delete;

private:
    std::optional<std::string> old_;
};

TEST(PosixPlatformTest, TheFallbackTempFolderIsTmpdirElseTmpNeverTheCurrentFolder) {
    const std::pair<const char*, std::wstring> cases[] = {
        {"/var/spool/orv", L"/var/spool/orv"},
        {"relative/dir", L"relative/dir"},  // used as it stands, as TEMP and TMP are
        {"", L"/tmp"},
        {nullptr, L"/tmp"},
    };
    for (const auto& [tmpdir, folder] : cases) {
        const ScopedTmpdir scoped(tmpdir);
        EXPECT_EQ(PosixPlatform().GetFallbackTempFolder(), folder)
            << (tmpdir ? tmpdir : "(not set)");
    }
}

}  // namespace
}  // namespace orv
