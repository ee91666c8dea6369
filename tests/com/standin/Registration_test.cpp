// regsvr32 registers the stand-in as a user's installation would, and /u removes it again.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

#include "com/automation/ClassesRoot.h"
#include "com/standin/TesseraIds.h"
#include "standin/StandInFixture.h"

namespace orv::test {
namespace {

using com::ClassesRootValue;
using com::GuidText;

DWORD RunRegsvr32(const std::wstring& options) {
    std::wstring command = L"regsvr32.exe /s " + options + L"\"" + FakeStandInDll().Path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return ~DWORD{0};
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = ~DWORD{0};
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

TEST(StandInRegistration, Regsvr32WritesTheClassAndRemovesItAgain) {
    ASSERT_EQ(FakeStandInDll().Unregister(), S_OK);
    ASSERT_EQ(RunRegsvr32(L""), 0u);
    const std::wstring classKey = L"CLSID\\" + GuidText(com::kTesseraApplicationClassId);
    EXPECT_EQ(ClassesRootValue(classKey + L"\\InprocServer32"), FakeStandInDll().Path());
    EXPECT_EQ(ClassesRootValue(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(ClassesRootValue(classKey + L"\\ProgID"), L"Tessapp.Application");
    EXPECT_EQ(ClassesRootValue(classKey + L"\\VersionIndependentProgID"), L"Tessapp.Application");
    EXPECT_EQ(ClassesRootValue(L"Tessapp.Application\\CLSID"),
              GuidText(com::kTesseraApplicationClassId));

    ASSERT_EQ(RunRegsvr32(L"/u "), 0u);
    EXPECT_EQ(ClassesRootValue(classKey + L"\\InprocServer32"), L"");
    CLSID classId{};
    EXPECT_NE(CLSIDFromProgID(L"Tessapp.Application", &classId), S_OK);
    // The rest of the run finds it registered, as the program's set-up left it.
    EXPECT_EQ(FakeStandInDll().Register(), S_OK);
}

}  // namespace
}  // namespace orv::test
