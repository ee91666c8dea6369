// The main of the stand-in's tests: one single-threaded apartment, as a script host's thread
// has, and the fake stand-in registered as "Tessapp.Application" for the run only.
#include <gtest/gtest.h>

#include <objbase.h>
#include <windows.h>

#include "standin/StandInFixture.h"

namespace {

class RegisteredStandIn : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(orv::test::FakeStandInDll().loaded()) << "OrvTesseraFake.dll did not load";
        ASSERT_EQ(orv::test::FakeStandInDll().Register(), S_OK);
    }
    void TearDown() override { EXPECT_EQ(orv::test::FakeStandInDll().Unregister(), S_OK); }
};

}  // namespace

// A fresh Wine prefix starts its desktop with the first top-level window of the session, and a
// window made while it starts can be lost: the tests look for the stand-in's window, so one is
// made here first, and again until the desktop takes it.
void WaitForTheDesktop() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const HWND window =
            CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (window != nullptr) {
            DestroyWindow(window);
            return;
        }
        Sleep(100);
    }
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    WaitForTheDesktop();
    testing::AddGlobalTestEnvironment(new RegisteredStandIn);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
