// The main of a COM test program: one single-threaded apartment for every test, as a script
// host's thread has, and the doubles registered for the run and unregistered after it.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include "support/DoublesControl.h"
#include "support/TestDoublesDll.h"

namespace {

class RegisteredDoubles : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(orv::test::TestDoublesDll::Get().loaded()) << "OrvTestDoubles.dll did not load";
        ASSERT_EQ(orv::test::TestDoublesDll::Get().Register(), S_OK);
    }
    void TearDown() override {
        // Nothing of the doubles may outlive the run in the running object table.
        try {
            orv::test::DoublesControl().Reset();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "the doubles could not be reset: " << error.what();
        }
        EXPECT_EQ(orv::test::TestDoublesDll::Get().Unregister(), S_OK);
    }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    testing::AddGlobalTestEnvironment(new RegisteredDoubles);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
