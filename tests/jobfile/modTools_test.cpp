#include "jobfile/modTools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <tuple>
#include <utility>

#include "support/FakePlatform.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

TEST(QuotePath, TrimsOnlySpacesAndAddsEachMissingQuoteWithoutEscapingAnyInside) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"   /my docs/a.rtf  ", L"\"/my docs/a.rtf\""},
        {L"\t/docs/a.rtf\t", L"\"\t/docs/a.rtf\t\""},
        {L"  \"/a.rtf\" ", L"\"/a.rtf\""},
        {L"\"/docs/a.rtf", L"\"/docs/a.rtf\""},
        {L"/docs/a.rtf\"", L"\"/docs/a.rtf\""},
        {L"/do\"cs/a.rtf", L"\"/do\"cs/a.rtf\""},
        {L"", L"\""},
        {L"    ", L"\""},
        {L"\"", L"\""},
    };
    for (const auto& [path, quoted] : cases) {
        EXPECT_EQ(modTools::QuotePath(path), quoted) << testing::PrintToString(path);
    }
}

TEST(UniqueTempFile, IsAnEmptyOrvFileInTempElseTmpElseTheCurrentFolder) {
    TempFolder root;
    for (const char* name : {"temp", "tmp", "current"}) fs::create_directory(root.path() / name);
    // TEMP, TMP (nullptr: not set; "": set but empty) and the folder chosen.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"temp", "tmp", "temp"}, {"temp", nullptr, "temp"},     {nullptr, "tmp", "tmp"},
        {"", "tmp", "tmp"},      {nullptr, nullptr, "current"}, {"", "", "current"},
    };
    for (const auto& [temp, tmp, chosen] : cases) {
        FakePlatform platform;
        platform.currentDirectory = root.wpath("current");
        if (temp) platform.environment[L"TEMP"] = *temp ? root.wpath(temp) : L"";
        if (tmp) platform.environment[L"TMP"] = *tmp ? root.wpath(tmp) : L"";

        const fs::path file =
            OnDisk(modTools::GetUniqueTempFileName(platform, *DefaultFileSystem()));

        SCOPED_TRACE(file);
        EXPECT_EQ(file.parent_path(), root.path() / chosen);
        EXPECT_EQ(file.filename().string().substr(0, 3), "ORV");
        EXPECT_EQ(fs::file_size(file), 0u);
    }
}

TEST(IsWin9x, IsTrueOnlyForTheWin9xFamilyAndEachThreadAsksOnce) {
    for (OsFamily family :
         {OsFamily::Windows9x, OsFamily::WindowsNT, OsFamily::Posix, OsFamily::Unknown}) {
        FakePlatform platform;
        platform.osFamily = family;
        const bool win9x = family == OsFamily::Windows9x;
        // A thread of its own, where the family has not been asked yet.
        std::thread([&] {
            for (int call = 0; call < 3; ++call) EXPECT_EQ(modTools::IsWin9x(platform), win9x);
        }).join();
        EXPECT_EQ(platform.osFamilyQueries, 1) << static_cast<int>(family);
    }
}

}  // namespace
}  // namespace orv::test
