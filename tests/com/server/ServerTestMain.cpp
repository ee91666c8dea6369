// Every test runs in one single-threaded apartment, as a script host's thread does.
#include <gtest/gtest.h>

#include "ServerUnderTest.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    orv::test::Apartment apartment;
    return RUN_ALL_TESTS();
}
