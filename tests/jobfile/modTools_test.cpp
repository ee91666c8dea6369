#include "jobfile/modTools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "jobfile/JobFileTesting.h"
#include "platform/NarrowText.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;
using modTools::GetUniqueTempFileName;
using modTools::IsWin9x;
using modTools::QuotePath;

struct QuoteCase {
    const char* behaviour;
    std::wstring path;
    std::wstring quoted;
};

TEST(QuotePath, EnclosesTheTrimmedPathInOnePairOfQuotes) {
    const std::vector<QuoteCase> cases = {
        {"plain path is enclosed", L"/docs/a.rtf", L"\"/docs/a.rtf\""},
        {"inner spaces stay", L"/my docs/a b.rtf", L"\"/my docs/a b.rtf\""},
        {"surrounding spaces are trimmed", L"   /docs/a.rtf  ", L"\"/docs/a.rtf\""},
        {"a trailing tab is kept inside the quotes", L"/docs/a.rtf\t", L"\"/docs/a.rtf\t\""},
        {"a leading tab is kept too", L"\t/docs/a.rtf", L"\"\t/docs/a.rtf\""},
        {"an already quoted path is unchanged", L"\"/docs/a.rtf\"", L"\"/docs/a.rtf\""},
        {"spaces around a quoted path go", L"  \"/a.rtf\" ", L"\"/a.rtf\""},
        {"only an opening quote gets the closing one", L"\"/docs/a.rtf", L"\"/docs/a.rtf\""},
        {"only a closing quote gets the opening one", L"/docs/a.rtf\"", L"\"/docs/a.rtf\""},
        {"quotes inside are not escaped", L"/do\"cs/a.rtf", L"\"/do\"cs/a.rtf\""},
        {"an empty text gives a lone quote", L"", L"\""},
        {"an all-blank text gives a lone quote", L"    ", L"\""},
        {"a lone quote stays a lone quote", L"\"", L"\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuotePath(c.path), c.quoted) << c.behaviour;
    }
}

class UniqueTempFileTest : public ::testing::Test {
protected:
    UniqueTempFileTest() {
        for (const char* name : {"temp", "tmp", "current"})
            fs::create_directory(root.path() / name);
        platform.currentDirectory = root.wpath("current");
    }

    std::size_t FilesIn(const char* folder) const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root.path() / folder)) {
            ++count;
        }
        return count;
    }

    TempFolder root;
    FakePlatform platform;
    FailingFileSystem fileSystem;
};

struct FolderChoiceCase {
    const char* behaviour;
    std::optional<std::string> temp;  // nullopt: not set; "": set but empty
    std::optional<std::string> tmp;
    const char* chosen;
};

TEST_F(UniqueTempFileTest, MakesAnEmptyOrvFileInTempThenTmpThenTheCurrentDirectory) {
    const std::vector<FolderChoiceCase> cases = {
        {"TEMP wins over TMP", "temp", "tmp", "temp"},
        {"TEMP alone", "temp", std::nullopt, "temp"},
        {"TMP when TEMP is not set", std::nullopt, "tmp", "tmp"},
        {"TMP when TEMP is empty", "", "tmp", "tmp"},
        {"current directory when neither is set", std::nullopt, std::nullopt, "current"},
        {"current directory when both are empty", "", "", "current"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        platform.environment.clear();
        if (c.temp) platform.environment[L"TEMP"] = c.temp->empty() ? L"" : root.wpath(*c.temp);
        if (c.tmp) platform.environment[L"TMP"] = c.tmp->empty() ? L"" : root.wpath(*c.tmp);

        const std::wstring name = GetUniqueTempFileName(platform, fileSystem);

        ASSERT_FALSE(name.empty());
        const fs::path file = ToNarrow(name);
        EXPECT_EQ(file.parent_path(), root.path() / c.chosen);
        EXPECT_TRUE(fs::is_regular_file(file));
        EXPECT_EQ(fs::file_size(file), 0u);
        EXPECT_EQ(file.filename().string().rfind("ORV", 0), 0u) << file;
        EXPECT_EQ(platform.lastTempFolder, root.wpath(c.chosen));
        fs::remove(file);
    }
}

TEST_F(UniqueTempFileTest, TwoCallsGiveTwoDistinctFiles) {
    platform.environment[L"TEMP"] = root.wpath("temp");
    const std::wstring first = GetUniqueTempFileName(platform, fileSystem);
    const std::wstring second = GetUniqueTempFileName(platform, fileSystem);
    EXPECT_NE(first, second);
    EXPECT_EQ(FilesIn("temp"), 2u);
}

TEST_F(UniqueTempFileTest, ATempNamingAMissingFolderGivesNoFileEvenWhenTmpIsValid) {
    platform.environment[L"TEMP"] = root.wpath("missing");
    platform.environment[L"TMP"] = root.wpath("tmp");

    EXPECT_EQ(GetUniqueTempFileName(platform, fileSystem), L"");
    EXPECT_EQ(platform.tempFileRequests, 0);
    EXPECT_EQ(FilesIn("tmp"), 0u);
}

TEST_F(UniqueTempFileTest, AFolderTestThatFailsGivesNoFileInsteadOfAnError) {
    platform.environment[L"TEMP"] = root.wpath("temp");
    fileSystem.failFolderExists = true;

    EXPECT_EQ(GetUniqueTempFileName(platform, fileSystem), L"");
    EXPECT_EQ(fileSystem.folderQueries, 1);
    EXPECT_EQ(platform.tempFileRequests, 0);
}

TEST_F(UniqueTempFileTest, APlatformThatCannotMakeTheFileGivesNoName) {
    platform.environment[L"TEMP"] = root.wpath("temp");
    platform.failTempFile = true;

    EXPECT_EQ(GetUniqueTempFileName(platform, fileSystem), L"");
    EXPECT_EQ(platform.tempFileRequests, 1);
}

struct FamilyCase {
    OsFamily family;
    bool win9x;
};

TEST(IsWin9x, IsTrueOnlyForTheWindows9xFamilyAndAsksOnceAThread) {
    const std::vector<FamilyCase> cases = {
        {OsFamily::Windows9x, true},
        {OsFamily::WindowsNT, false},
        {OsFamily::Posix, false},
        {OsFamily::Unknown, false},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.osFamily = c.family;
        const auto answers = OnFreshThread([&] {
            return std::vector<bool>{IsWin9x(platform), IsWin9x(platform), IsWin9x(platform)};
        });
        EXPECT_EQ(answers, std::vector<bool>(3, c.win9x)) << static_cast<int>(c.family);
        EXPECT_EQ(platform.osFamilyQueries, 1) << static_cast<int>(c.family);
    }
}

TEST(IsWin9x, KeepsTheThreadsFirstAnswerAndEachThreadAsksForItself) {
    FakePlatform win9x;
    win9x.osFamily = OsFamily::Windows9x;
    FakePlatform nt;
    nt.osFamily = OsFamily::WindowsNT;

    const bool later = OnFreshThread([&] {
        IsWin9x(win9x);
        return IsWin9x(nt);
    });
    EXPECT_TRUE(later);
    EXPECT_EQ(nt.osFamilyQueries, 0);

    EXPECT_FALSE(OnFreshThread([&] { return IsWin9x(nt); }));
    EXPECT_EQ(nt.osFamilyQueries, 1);
    EXPECT_EQ(win9x.osFamilyQueries, 1);
}

}  // namespace
}  // namespace orv::test
