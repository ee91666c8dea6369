#pragma once
// A test of the stand-in server as a client meets it: OrvTesseraFake.dll (the adapter over
// the tests' FakeTesseraApplication) registered as "Tessapp.Application", each test creating
// its application by ProgID with the script it chose, and ending every one it made with
// Quit, so that none is left running.

#include <gtest/gtest.h>

#include <windows.h>

#include <wrl/client.h>

#include <string>

#include "com/client/LateBoundDispatch.h"
#include "standin/FakeWorld.h"
#include "support/LoadedServerDll.h"

namespace orv::test {

// The fake stand-in DLL of this process.
LoadedServerDll& FakeStandInDll();
FakeWorld& World();

class StandInTest : public ::testing::Test {
protected:
    // The script of the applications created from here on: none of the DLL's defaults.
    void SetUp() override {
        World().script = {};
        World().log->clear();
    }
    void TearDown() override;

    // A new application through CoCreateInstance of the ProgID's class; fails the test when
    // there is none.
    Microsoft::WRL::ComPtr<IDispatch> NewApplication();
    // The fake behind the application created last.
    FakeTesseraApplication& Fake() { return *World().made.back().application; }
    FakeTesseraTM& FakeTM() { return static_cast<FakeTesseraTM&>(*Fake().get_CurrentTM()); }
    FakeExtras& Extras() { return *World().made.back().extras; }
    // Whether the fakes logged `call` ("TM.Open(...)").
    static bool Logged(const std::string& call);

    // The object property `name` of `object`.
    static com::LateBoundDispatch Child(const com::LateBoundDispatch& object,
                                        const std::wstring& name);
};

// CreateTM's sixteen arguments as the component passes them.
com::DispatchArguments CreateTMArguments(const std::wstring& path, int32_t sourceLanguage,
                                         int32_t targetLanguage);

// The HRESULT and exception of a raw by-name call, for checks below the client's view.
struct RawCall {
    HRESULT status = S_OK;
    EXCEPINFO exception{};
    ~RawCall();
};
RawCall InvokeByName(IDispatch* object, const wchar_t* name, WORD flags,
                     VARIANT* arguments = nullptr, UINT count = 0);

}  // namespace orv::test
