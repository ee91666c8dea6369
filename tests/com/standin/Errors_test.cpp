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

DispatchArguments OpenArguments(const wchar_t* user, const wchar_t* password) {
    DispatchArguments arguments;
    arguments.Add(VariantFrom(L"C:\\tm\\main.tmv")).Add(VariantFrom(user));
    arguments.Add(VariantFrom(password)).Add(VariantFrom(L"w"));
    return arguments;
}

TEST_F(StandInErrors, AFailingCallArrivesWithItsNumberSourceAndDescription) {
    struct Case {
        const char* what;
        std::function<void(const LateBoundDispatch& application, const LateBoundDispatch& tm)> call;
        const wchar_t* inDescription;
    };
    const Case cases[] = {
        {"a wrong password",
         [](const auto&, const auto& tm) { tm.Call(L"Open", OpenArguments(L"anna", L"wrong")); },
         L"Error 50003: the password is wrong for C:\\tm\\main.tmv"},
        {"an unknown user",
         [](const auto&, const auto& tm) { tm.Call(L"Open", OpenArguments(L"nobody", L"")); },
         L"Error 50000: the user is not known"},
        {"a target language the TM lacks",
         [](const auto&, const auto& tm) { tm.Put(L"TargetLanguage", VariantFrom(int32_t{9999})); },
         L"no target language 9999"},
        {"a job file not given",
         [](const auto&, const auto& tm) {
             DispatchArguments job;
             job.Add(VariantFrom(L""));
             tm.Call(L"ExecuteJobFile", std::move(job));
         },
         L"No job file given"},
        {"a TM in a language Tessera does not know",
         [](const auto& application, const auto&) {
             DispatchArguments arguments;
             arguments.Add(VariantFrom(L"C:\\tm\\new.tmv")).Add(VariantFrom(L""));
             arguments.Add(VariantFrom(int32_t{0})).Add(VariantFrom(L""));
             arguments.Add(VariantFrom(int32_t{1031})).Add(VariantFrom(L""));
             for (int i = 0; i < 7; ++i) arguments.Add(VariantFrom(int32_t{-1}));
             for (int i = 0; i < 3; ++i) arguments.Add(VariantFrom(L""));
             application.Call(L"CreateTM", std::move(arguments));
         },
         L"does not know the language"},
    };
    for (const Case& c : cases) {
        LateBoundDispatch application(NewApplication());
        LateBoundDispatch tm = Child(application, L"CurrentTM");
        try {
            c.call(application, tm);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), 50001) << c.what;
            EXPECT_EQ(error.source(), L"Tessapp") << c.what;
            EXPECT_NE(error.description().find(c.inDescription), std::wstring::npos) << c.what;
        }
        application.Call(L"Quit");
    }
}

TEST_F(StandInErrors, TheErrorIsAnExceptionInTheControlFacility) {
    const auto application = NewApplication();
    LateBoundDispatch tm = Child(LateBoundDispatch(application), L"CurrentTM");
    VARIANT arguments[4];  // from the right
    const wchar_t* texts[] = {L"w", L"wrong", L"anna", L"C:\\tm\\main.tmv"};
    for (int i = 0; i < 4; ++i) {
        VariantInit(&arguments[i]);
        V_VT(&arguments[i]) = VT_BSTR;
        V_BSTR(&arguments[i]) = SysAllocString(texts[i]);
    }
    const RawCall call = InvokeByName(tm.object(), L"Open", DISPATCH_METHOD, arguments, 4);
    for (VARIANT& argument : arguments) VariantClear(&argument);
    EXPECT_EQ(call.status, DISP_E_EXCEPTION);
    EXPECT_EQ(call.exception.scode, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 50001));
    EXPECT_EQ(std::wstring(call.exception.bstrSource), L"Tessapp");
    LateBoundDispatch(application).Call(L"Quit");
}

// The component's own COM client over the stand-in: a wrong password surfaces with the text
// the component looks for.
TEST_F(StandInErrors, TheComponentsClientReadsTheWrongPasswordText) {
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
