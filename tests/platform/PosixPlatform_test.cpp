#include "platform/posix/PosixPlatform.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/NarrowText.h"
#include "platform/PathSyntax.h"
#include "support/TempFolder.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

constexpr char kGermanLocale[] = "de_DE.UTF-8";

bool LocaleInstalled(const char* name) {
    locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return false;
    freelocale(locale);
    return true;
}

TEST(PosixPlatformTest, TempFileIsNewEmptyAndPrivateWithThePrefixAndTmpExtension) {
    TempFolder folder;
    PosixPlatform platform;
    std::wstring first = platform.CreateUniqueTempFile(folder.wpath(), L"ORV");
    std::wstring second = platform.CreateUniqueTempFile(folder.wpath(), L"ORV");

    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    for (const std::wstring& path : {first, second}) {
        std::wstring name = LastPathComponent(path);
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

TEST(PosixPlatformTest, TempFolderEndingInASeparatorGivesNoDoubleSeparator) {
    TempFolder folder;
    std::wstring path = PosixPlatform().CreateUniqueTempFile(folder.wpath() + L"/", L"ORV");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.find(L"//"), std::wstring::npos) << ToNarrow(path);
    EXPECT_EQ(FolderOfPath(path), folder.wpath());
}

TEST(PosixPlatformTest, TempFileThatCannotBeMadeGivesAnEmptyTextAndNoFile) {
    TempFolder folder;
    folder.Write("plain.txt", "x");
    std::wstring unencodable = folder.wpath() + L"/";
    unencodable += static_cast<wchar_t>(0xD800);
    struct Case {
        std::wstring folder;
        std::wstring prefix;
    };
    const Case cases[] = {
        {folder.wpath("missing"), L"ORV"},
        {folder.wpath("plain.txt"), L"ORV"},
        {L"", L"ORV"},
        {folder.wpath(), L"sub/ORV"},
        {folder.wpath(), std::wstring(L"O\0RV", 4)},
        {unencodable, L"ORV"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PosixPlatform().CreateUniqueTempFile(c.folder, c.prefix), L"")
            << ToNarrow(c.folder) << " " << ToNarrow(c.prefix);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(PosixPlatformTest, EnvironmentVariableIsReadAndUnsetOrEmptyGivesEmptyText) {
    const std::wstring value = L"/tmp/Grüße";
    ASSERT_EQ(setenv("ORV_PLATFORM_TEST", ToNarrow(value).c_str(), 1), 0);
    ASSERT_EQ(setenv("ORV_PLATFORM_TEST_EMPTY", "", 1), 0);
    unsetenv("ORV_PLATFORM_TEST_UNSET");
    PosixPlatform platform;
    EXPECT_EQ(platform.GetEnvironmentVariable(L"ORV_PLATFORM_TEST"), value);
    EXPECT_EQ(platform.GetEnvironmentVariable(L"ORV_PLATFORM_TEST_EMPTY"), L"");
    EXPECT_EQ(platform.GetEnvironmentVariable(L"ORV_PLATFORM_TEST_UNSET"), L"");
    EXPECT_EQ(platform.GetEnvironmentVariable(std::wstring(L"ORV_PLATFORM_TEST\0X", 19)), L"");
    EXPECT_EQ(platform.GetEnvironmentVariable(L""), L"");
}

TEST(PosixPlatformTest, CurrentDirectoryIsTheProcesssWorkingDirectory) {
    EXPECT_EQ(PosixPlatform().GetCurrentDirectory(), FromNarrow(fs::current_path().native()));
}

TEST(PosixPlatformTest, UnknownLocaleFallsBackToThePlainDecimalPoint) {
    PosixPlatform platform("xx_NOWHERE.UTF-8");
    EXPECT_EQ(platform.FormatNineTenths(), L"0.9");
    EXPECT_EQ(platform.ParseNumber(L"4.25"), 4.25);
}

struct NumberCase {
    std::wstring text;
    std::optional<double> plain;   // under "C"
    std::optional<double> german;  // under de_DE
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text);
}

class PosixPlatformNumberTest : public testing::TestWithParam<NumberCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(LocaleInstalled(kGermanLocale))
            << "the locale " << kGermanLocale << " is missing: run `make locale`";
    }
};

TEST_F(PosixPlatformNumberTest, NineTenthsAreWrittenWithTheLocalesDecimalSeparator) {
    EXPECT_EQ(PosixPlatform("C").FormatNineTenths(), L"0.9");
    EXPECT_EQ(PosixPlatform(kGermanLocale).FormatNineTenths(), L"0,9");
}

TEST_P(PosixPlatformNumberTest, NumbersAreReadWithTheLocalesDecimalSeparatorOnly) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(PosixPlatform("C").ParseNumber(c.text), c.plain) << "under C";
    EXPECT_EQ(PosixPlatform(kGermanLocale).ParseNumber(c.text), c.german) << "under de_DE";
}

const std::optional<double> kNone;

INSTANTIATE_TEST_SUITE_P(
    CAndGerman, PosixPlatformNumberTest,
    testing::Values(NumberCase{L"4.25", 4.25, kNone}, NumberCase{L"4,25", kNone, 4.25},
                    NumberCase{L" \t-4.25\t ", -4.25, kNone}, NumberCase{L" 4,25 ", kNone, 4.25},
                    NumberCase{L"+17", 17.0, 17.0}, NumberCase{L"0", 0.0, 0.0},
                    NumberCase{L"1.5e3", 1500.0, kNone}, NumberCase{L"1,5E-3", kNone, 0.0015},
                    NumberCase{L"2e+2", 200.0, 200.0}, NumberCase{L".5", 0.5, kNone},
                    NumberCase{L"5,", kNone, 5.0}, NumberCase{L"", kNone, kNone},
                    NumberCase{L"  ", kNone, kNone}, NumberCase{L"-", kNone, kNone},
                    NumberCase{L".", kNone, kNone}, NumberCase{L",", kNone, kNone},
                    NumberCase{L"nan", kNone, kNone}, NumberCase{L"inf", kNone, kNone},
                    NumberCase{L"-Infinity", kNone, kNone}, NumberCase{L"0x1A", kNone, kNone},
                    NumberCase{L"1e", kNone, kNone}, NumberCase{L"1e+", kNone, kNone},
                    NumberCase{L"1 2", kNone, kNone}, NumberCase{L"--1", kNone, kNone},
                    NumberCase{L"4.2.5", kNone, kNone}, NumberCase{L"1.000,5", kNone, kNone},
                    NumberCase{L"1e999", kNone, kNone}, NumberCase{L"12%", kNone, kNone},
                    NumberCase{L"\u00A04", kNone, kNone}, NumberCase{L"\u0664", kNone, kNone}));

}  // namespace
}  // namespace orv
