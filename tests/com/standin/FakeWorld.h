#pragma once
// What the fake stand-in DLL serves and made, for the test program that loaded it: the
// script of the next application (the shared FakeTesseraApplication of the tests' support),
// the calls all of them logged, and every application with its extras created so far,
// newest last. The DLL exports OrvFakeTesseraWorld, which gives this process's one world;
// the test reaches it through GetProcAddress.

#include <memory>
#include <string>
#include <vector>

#include "com/standin/StandInExtras.h"
#include "support/FakeTessera.h"

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
        std::shared_ptr<FakeTesseraApplication> application;
        std::shared_ptr<FakeExtras> extras;
    };
    // As a process that loads the DLL finds it: TM opening refused with the text of a wrong
    // password, target language 9999 refused (what a script checks).
    static FakeTesseraScript DefaultScript() {
        FakeTesseraScript script;
        script.openFailure = FakeFailure{50001, L"Error 50003: the password is wrong"};
        script.refusedTargetLanguage = 9999;
        return script;
    }

    FakeTesseraScript script = DefaultScript();
    CallLog log = std::make_shared<std::vector<std::string>>();
    std::vector<Made> made;
};

using FakeWorldEntry = FakeWorld* (*)();
inline constexpr const char* kFakeWorldEntry = "OrvFakeTesseraWorld";

}  // namespace orv::test
