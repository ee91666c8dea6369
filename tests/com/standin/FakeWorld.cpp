// What the fake stand-in DLL serves: a new FakeApplication with FakeExtras, kept in the
// world for the test to read.
#include "standin/FakeWorld.h"

#include "com/standin/StandInParts.h"

extern "C" __declspec(dllexport) orv::test::FakeWorld* OrvFakeTesseraWorld() {
    static orv::test::FakeWorld world;
    return &world;
}

namespace orv::com {

StandInParts CreateStandInParts() {
    auto application = std::make_shared<test::FakeApplication>();
    auto extras = std::make_shared<test::FakeExtras>();
    OrvFakeTesseraWorld()->made.push_back({application, extras});
    return {application, extras};
}

}  // namespace orv::com
