#include "platform/win32/Win32Platform.h"

#include "platform/AutomationError.h"
#include "platform/NativePath.h"
#include "platform/StdFileSystem.h"
#include "platform/TextCase.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/WindowsApi.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using testing::UnorderedElementsAre;

// Characters of several scripts, beyond any one ANSI code page, and one beyond the BMP.
const std::wstring kUnicodeName = L"\u00DCn\u00EFc\u00F8d\u00E9 \u2713 \u03A3 \u0416 \U0001F600";

std::vector<std::wstring> NamesIn(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().native());
    }
    return names;
}

TEST(Win32PlatformTest, EnvironmentVariablesAreTheirValueOrEmptyWhenUnset) {
    Win32Platform platform;
    const wchar_t* name = L"ORV_TEST_VARIABLE";
    const std::wstring longValue(5000, L'v');
    for (const std::wstring& value : {kUnicodeName, longValue}) {
        ASSERT_TRUE(SetEnvironmentVariableW(name, value.c_str()));
        EXPECT_EQ(platform.GetEnvironmentVariable(name), value);
    }
    ASSERT_TRUE(SetEnvironmentVariableW(name, nullptr));
    EXPECT_EQ(platform.GetEnvironmentVariable(name), L"");
    EXPECT_EQ(platform.GetEnvironmentVariable(L""), L"");
    EXPECT_EQ(platform.GetEnvironmentVariable(std::wstring(L"PATH\0X", 6)), L"");
    EXPECT_EQ(platform.GetCurrentDirectory(), fs::current_path().native());
}

TEST(Win32PlatformTest, TempFilesInAFolderOutsideTheCodePageAreMadeFoundReadAndDeleted) {
    test::TempFolder root;
    const fs::path folder = root.path() / kUnicodeName;
    fs::create_directory(folder);
    const std::wstring folderText = FromNativePath(folder);
    Win32Platform platform;
    StdFileSystem files;

    const std::wstring first = platform.CreateUniqueTempFile(folderText, L"ORV");
    const std::wstring second = platform.CreateUniqueTempFile(folderText + L"\\", L"ORV");
    ASSERT_NE(first, L"");
    EXPECT_NE(first, second);
    for (const std::wstring& path : {first, second}) {
        const std::wstring name = files.GetFileName(path);
        EXPECT_EQ(FolderOfPath(path), folderText) << "one separator only";
        EXPECT_EQ(name.substr(0, 3), L"ORV");
        // The letter case of the extension is Windows' own (Wine writes ".tmp").
        EXPECT_TRUE(EqualsIgnoringCase(name.substr(name.size() - 4), L".TMP")) << name;
        EXPECT_TRUE(files.FileExists(path));
        EXPECT_EQ(files.ReadFile(path), "");
    }
    EXPECT_TRUE(files.FolderExists(folderText));
    EXPECT_FALSE(files.FileExists(folderText));

    const std::string bytes = "[Analyse]\r\nTasks = 1\r\n\xE9\x00\xFF";
    files.WriteFile(first, bytes);
    EXPECT_EQ(files.ReadFile(first), bytes);
    EXPECT_EQ(test::ReadBytes(*ToNativePath(first)), bytes);

    const std::wstring keep = folderText + L"\\" + kUnicodeName + L".tmx";
    files.WriteFile(keep, "tm");
    fs::permissions(*ToNativePath(second), fs::perms::owner_read);  // the read-only attribute
    EXPECT_THROW(files.DeleteFile(folderText + L"\\orv*.tmp", false), AutomationError);
    files.DeleteFile(folderText + L"\\orv*.tmp", true);
    EXPECT_THAT(NamesIn(folder), UnorderedElementsAre(kUnicodeName + L".tmx"));
    EXPECT_EQ(files.ReadFile(keep), "tm");
}

TEST(Win32PlatformTest, TempFilesAreNotMadeForAMissingFolderAnEmptyFolderOrAPrefixWithAPath) {
    test::TempFolder root;
    Win32Platform platform;
    for (const auto& [folder, prefix] :
         {std::pair{root.wpath("missing"), L"ORV"}, std::pair{std::wstring(), L"ORV"},
          std::pair{root.wpath(), L"a\\b"}, std::pair{root.wpath(), L"a/b"}}) {
        EXPECT_EQ(platform.CreateUniqueTempFile(folder, prefix), L"")
            << testing::PrintToString(folder) << " " << testing::PrintToString(prefix);
    }
    EXPECT_TRUE(fs::is_empty(root.path()));
}

TEST(Win32PlatformTest, RunsOnTheNtFamilyAndFindsNoWindowOfAClassThatDoesNotExist) {
    Win32Platform platform;
    EXPECT_EQ(platform.GetOsFamily(), OsFamily::WindowsNT);
    EXPECT_EQ(platform.FindWindowByClass(L"OrvNoSuchWindowClass \u2713"), 0);
    platform.SetForegroundWindow(0);  // nothing to bring forward, and no harm done
}

TEST(Win32PlatformTest, ProcessingMessagesDispatchesWhatWaitsAndLeavesAQuitForTheClient) {
    Win32Platform platform;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0));
    platform.ProcessMessages();
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));

    PostQuitMessage(7);
    platform.ProcessMessages();
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(Win32PlatformTest, NumbersFollowTheDecimalSeparatorOfTheLocale) {
    Win32Platform user;
    const std::wstring nineTenths = user.FormatNineTenths();
    EXPECT_EQ(user.ParseNumber(nineTenths), 0.9) << testing::PrintToString(nineTenths);

    Win32Platform german(L"de-DE");
    EXPECT_EQ(german.FormatNineTenths(), L"0,9");
    EXPECT_EQ(german.ParseNumber(L" -4,25 "), -4.25);
    EXPECT_EQ(german.ParseNumber(L"4.25"), std::nullopt);
    EXPECT_EQ(Win32Platform(L"en-US").ParseNumber(L"4.25"), 4.25);
    EXPECT_EQ(Win32Platform(L"xx-NOWHERE").FormatNineTenths(), L"0.9");
}

}  // namespace
}  // namespace orv
