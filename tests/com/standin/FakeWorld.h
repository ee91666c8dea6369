#pragma once
// What the fake stand-in DLL made, for the test program that loaded it: every application
// (with its extras) created so far, newest last. The DLL exports OrvFakeTesseraWorld, which
// gives this process's one world; the test reaches it through GetProcAddress.

#include <memory>
#include <string>
#include <vector>

#include "com/standin/StandInExtras.h"
#include "standin/FakeApplication.h"

namespace orv::test {

class FakeExtras final : public com::StandInExtras {
public:
    void RequestCancel() override { ++cancelRequests; }
    std::wstring get_LastJobFailure() const override { return lastJobFailure; }
    std::wstring get_LastTmOpenFailure() const override { return lastTmOpenFailure; }

    int cancelRequests = 0;
    std::wstring lastJobFailure;
    std::wstring lastTmOpenFailure;
};

struct FakeWorld {
    struct Made {
        std::shared_ptr<FakeApplication> application;
        std::shared_ptr<FakeExtras> extras;
    };
    std::vector<Made> made;
};

using FakeWorldEntry = FakeWorld* (*)();
inline constexpr const char* kFakeWorldEntry = "OrvFakeTesseraWorld";

}  // namespace orv::test
