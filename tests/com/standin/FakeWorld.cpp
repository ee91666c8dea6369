// What the fake stand-in DLL serves: a new FakeTesseraApplication with FakeExtras, kept in
// the world for the test to read.
#include "standin/FakeWorld.h"

#include "com/standin/StandInParts.h"

extern "C" __declspec(dllexport) orv::test::FakeWorld* OrvFakeTesseraWorld() {
    static orv::test::FakeWorld world;
    return &world;
}

namespace orv::com {

StandInParts CreateStandInParts() {
    orv::test::FakeWorld& world = *OrvFakeTesseraWorld();
    auto application = std::make_shared<test::FakeTesseraApplication>(world.script, world.log);
    auto extras = std::make_shared<test::FakeExtras>();
    world.made.push_back({application, extras});
    return {application, extras};
}

}  // namespace orv::com
