// A failure of the C++ application reaches the client as the application's own error: its
// number, source and description, the text untouched (the component reads "50003" in it).
#include <gtest/gtest.h>

#include <functional>

#include "com/client/ComObjectServices.h"
#include "com/client/VariantValues.h"
#include "platform/AutomationError.h"
#include "standin/StandInFixture.h"

namespace orv::test {
namespace {

using com::DispatchArguments;
using com::LateBoundDispatch;
using com::VariantFrom;

class StandInErrors : public StandInTest {};

DispatchArguments OpenArguments() {
    DispatchArguments arguments;
    arguments.Add(VariantFrom(L"C:\\tm\\main.tmv")).Add(VariantFrom(L"anna"));
    arguments.Add(VariantFrom(L"pass")).Add(VariantFrom(L"w"));
    return arguments;
}

TEST_F(StandInErrors, AFailingCallArrivesWithItsNumberSourceAndDescription) {
    using Call =
        std::function<void(const LateBoundDispatch& application, const LateBoundDispatch& tm)>;
    const Call open = [](const auto&, const auto& tm) { tm.Call(L"Open", OpenArguments()); };
    struct Case {
        const char* what;
        std::function<void(FakeTesseraScript&)> script;
        Call call;
        int32_t number;
        const wchar_t* description;
    };
    const Case cases[] = {
        {"a wrong password",
         [](auto& s) {
             s.openFailure = FakeFailure{50001, L"Error 50003: wrong password"};
         },
         open, 50001, L"Error 50003: wrong password"},
        {"an unknown user",
         [](auto& s) {
             s.openFailure = FakeFailure{50001, L"Error 50000: unknown user anna"};
         },
         open, 50001, L"Error 50000: unknown user anna"},
        {"a target language the TM lacks", [](auto& s) { s.refusedTargetLanguage = 9999; },
         [](const auto&, const auto& tm) { tm.Put(L"TargetLanguage", VariantFrom(int32_t{9999})); },
         50400, L"Language not available"},
        {"a job that fails",
         [](auto& s) {
             s.executeFailure = FakeFailure{50001, L"the job failed"};
         },
         [](const auto&, const auto& tm) {
             DispatchArguments job;
             job.Add(VariantFrom(L"C:\\jobs\\job.txt"));
             tm.Call(L"ExecuteJobFile", std::move(job));
         },
         50001, L"the job failed"},
        {"a TM that cannot be created", [](auto& s) { s.createTMAlwaysFails = true; },
         [](const auto& application, const auto&) {
             application.Call(L"CreateTM", CreateTMArguments(L"C:\\tm\\new.tmv", 1033, 1031));
         },
         50200, L"Cannot create TM"},
    };
    for (const Case& c : cases) {
        World().script = {};
        c.script(World().script);
        LateBoundDispatch application(NewApplication());
        LateBoundDispatch tm = Child(application, L"CurrentTM");
        try {
            c.call(application, tm);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), c.number) << c.what;
            EXPECT_EQ(error.source(), L"Tessera") << c.what;
            EXPECT_EQ(error.description(), c.description) << c.what;
        }
        application.Call(L"Quit");
    }
}

TEST_F(StandInErrors, TheErrorIsAnExceptionInTheControlFacility) {
    World().script.openFailure = FakeFailure{50001, L"Error 50003: wrong password"};
    const auto application = NewApplication();
    LateBoundDispatch tm = Child(LateBoundDispatch(application), L"CurrentTM");
    DispatchArguments arguments = OpenArguments();
    const RawCall call = InvokeByName(tm.object(), L"Open", DISPATCH_METHOD, arguments.Data(), 4);
    EXPECT_EQ(call.status, DISP_E_EXCEPTION);
    EXPECT_EQ(call.exception.scode, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 50001));
    EXPECT_EQ(std::wstring(call.exception.bstrSource), L"Tessera");
    EXPECT_EQ(std::wstring(call.exception.bstrDescription), L"Error 50003: wrong password");
    LateBoundDispatch(application).Call(L"Quit");
}

// The component's own COM client over the stand-in: a wrong password surfaces with the text
// the component looks for.
TEST_F(StandInErrors, TheComponentsClientReadsTheWrongPasswordText) {
    World().script.openFailure = FakeFailure{50001, L"Error 50003: wrong password"};
    com::ComObjectServices services;
    const auto tessera = services.CreateTessera();
    ASSERT_TRUE(tessera);
    try {
        tessera->get_CurrentTM()->Open(L"C:\\tm\\main.tmv", L"anna", L"wrong", L"w");
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& error) {
        EXPECT_NE(error.description().find(L"50003"), std::wstring::npos);
    }
    tessera->Quit();
}

}  // namespace
}  // namespace orv::test
