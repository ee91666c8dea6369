// The main of the stand-in's tests: one single-threaded apartment, as a script host's thread
// has, and the fake stand-in registered as "Tessapp.Application" for the run only.
#include <gtest/gtest.h>

#include <objbase.h>

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

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    testing::AddGlobalTestEnvironment(new RegisteredStandIn);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
