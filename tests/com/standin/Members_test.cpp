// Every member of the stand-in's objects by name, as a late-bound client calls them, reaching
// the fake application behind them.
#include <gtest/gtest.h>

#include "com/client/VariantValues.h"
#include "com/standin/TesseraIds.h"
#include "standin/StandInFixture.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

using com::DispatchArguments;
using com::LateBoundDispatch;
using com::ValueAs;
using com::VariantFrom;

class StandInMembers : public StandInTest {};

TEST_F(StandInMembers, TheTMIsOpenedClosedAndAskedThroughItsMembers) {
    World().script.targetLanguages = {1031, 1036, 1040};
    LateBoundDispatch application(NewApplication());
    LateBoundDispatch tm = Child(application, L"CurrentTM");
    EXPECT_FALSE(ValueAs<bool>(*tm.Get(L"IsOpen").get()));

    DispatchArguments open;
    open.Add(VariantFrom(L"C:\\tm\\main.tmv")).Add(VariantFrom(L"anna"));
    open.Add(VariantFrom(L"secret")).Add(VariantFrom(L"w"));
    tm.Call(L"Open", std::move(open));
    EXPECT_TRUE(Logged("TM.Open(C:\\tm\\main.tmv,anna,secret,w)"));
    EXPECT_TRUE(ValueAs<bool>(*tm.Get(L"IsOpen").get()));
    EXPECT_EQ(ValueAs<int32_t>(*tm.Get(L"SourceLanguage").get()), 1031);

    tm.Put(L"TargetLanguage", VariantFrom(int32_t{1036}));
    EXPECT_EQ(FakeTM().selectedTarget, 1036);

    TempFolder folder;
    folder.Write("job.txt", "[Analyse]\r\n");
    DispatchArguments job;
    job.Add(VariantFrom(folder.wpath("job.txt")));
    tm.Call(L"ExecuteJobFile", std::move(job));
    EXPECT_EQ(FakeTM().jobText, "[Analyse]\r\n");

    tm.Call(L"Close");
    EXPECT_FALSE(FakeTM().open);
    application.Call(L"Quit");
    EXPECT_TRUE(Fake().quit);
}

TEST_F(StandInMembers, TargetLanguagesIsAVariantArrayOfLong) {
    World().script.targetLanguages = {1031, 1036, 1040};
    LateBoundDispatch application(NewApplication());
    const com::OwnedVariant languages = Child(application, L"CurrentTM").Get(L"TargetLanguages");
    ASSERT_EQ(V_VT(languages.get()), VT_ARRAY | VT_VARIANT);
    SAFEARRAY* array = V_ARRAY(languages.get());
    EXPECT_EQ(SafeArrayGetDim(array), 1u);
    LONG lower = -1;
    SafeArrayGetLBound(array, 1, &lower);
    EXPECT_EQ(lower, 0);
    for (LONG i = 0; i < 3; ++i) {
        com::OwnedVariant element;
        ASSERT_EQ(SafeArrayGetElement(array, &i, element.get()), S_OK);
        EXPECT_EQ(V_VT(element.get()), VT_I4) << i;
    }
    EXPECT_EQ(com::LongsOf(*languages.get()), (std::vector<int32_t>{1031, 1036, 1040}));
    application.Call(L"Quit");
}

TEST_F(StandInMembers, CreateTMTakesItsSixteenArgumentsAndTheTMIsOpen) {
    LateBoundDispatch application(NewApplication());
    TempFolder folder;
    application.Call(L"CreateTM", CreateTMArguments(folder.wpath("new.tmv"), 1033, 1031));
    EXPECT_TRUE(Logged("Application.CreateTM(1033,1031)"));
    EXPECT_EQ(FakeTM().path, folder.wpath("new.tmv"));
    EXPECT_TRUE(ValueAs<bool>(*Child(application, L"CurrentTM").Get(L"IsOpen").get()));

    // One argument short is a call the application does not have.
    DispatchArguments fifteen = CreateTMArguments(folder.wpath("new.tmv"), 1033, 1031);
    VARIANT* last = fifteen.Data();
    const RawCall call =
        InvokeByName(application.object(), L"CreateTM", DISPATCH_METHOD, last + 1, 15);
    EXPECT_EQ(call.status, DISP_E_BADPARAMCOUNT);
    application.Call(L"Quit");
}

TEST_F(StandInMembers, ReadingAnObjectTwiceGivesTheSameObject) {
    LateBoundDispatch application(NewApplication());
    for (const wchar_t* name : {L"CurrentTM", L"GeneralOptions", L"ToolsOptions"}) {
        const auto first = com::ObjectOf(*application.Get(name).get());
        const auto second = com::ObjectOf(*application.Get(name).get());
        ASSERT_TRUE(first) << name;
        EXPECT_EQ(first.Get(), second.Get()) << name;
    }
    application.Call(L"Quit");
}

TEST_F(StandInMembers, TheExtrasReachTheFakesExtras) {
    LateBoundDispatch application(NewApplication());
    Extras().lastJobFailure = L"the document cannot be read";
    Extras().lastTmOpenFailure = L"main.tmv: line 12: not a TMX file";
    application.Call(L"RequestCancel");
    application.Call(L"RequestCancel");
    EXPECT_EQ(Extras().cancelRequests, 2);
    EXPECT_EQ(ValueAs<std::wstring>(*application.Get(L"LastJobFailure").get()),
              L"the document cannot be read");
    EXPECT_EQ(ValueAs<std::wstring>(*application.Get(L"LastTmOpenFailure").get()),
              L"main.tmv: line 12: not a TMX file");
    application.Call(L"Quit");
}

// Each object answers its own published interface, and no other object's.
TEST_F(StandInMembers, EachObjectAnswersItsPublishedInterface) {
    const auto created = NewApplication();
    LateBoundDispatch application(created);
    struct Case {
        const wchar_t* property;  // nullptr: the application itself
        const IID& published;
    };
    const Case cases[] = {{nullptr, com::kTessappApplicationId},
                          {L"CurrentTM", com::kTessappTMId},
#define ORV_GROUP_CASE(group, list) {L## #group, com::kTessapp##group##Id},
                          ORV_OPTION_GROUPS(ORV_GROUP_CASE)
#undef ORV_GROUP_CASE
    };
    for (const Case& c : cases) {
        const auto object =
            c.property ? com::ObjectOf(*application.Get(c.property).get()) : created;
        const std::string name =
            c.property ? std::string(c.property, c.property + wcslen(c.property)) : "Application";
        Microsoft::WRL::ComPtr<IUnknown> answer;
        for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &c.published}) {
            EXPECT_EQ(object->QueryInterface(
                          *iid, reinterpret_cast<void**>(answer.ReleaseAndGetAddressOf())),
                      S_OK)
                << name;
        }
        const IID& other =
            &c.published == &com::kTessappTMId ? com::kTessappApplicationId : com::kTessappTMId;
        EXPECT_EQ(object->QueryInterface(other,
                                         reinterpret_cast<void**>(answer.ReleaseAndGetAddressOf())),
                  E_NOINTERFACE)
            << name;
    }
    application.Call(L"Quit");
}

// Every option of every group: a put reaches the C++ group at once, and a get reads it back.
TEST_F(StandInMembers, EveryOptionIsWrittenIntoTheApplicationAndReadBack) {
    LateBoundDispatch application(NewApplication());
    int32_t next = 100;
    auto valueFor = [&next](auto sample) {
        using T = decltype(sample);
        if constexpr (std::is_same_v<T, bool>)
            return true;
        else if constexpr (std::is_same_v<T, int32_t>)
            return ++next;
        else
            return std::wstring(L"text ") + std::to_wstring(++next);
    };
#define ORV_CHECK_OPTION(type, name)                                           \
    {                                                                          \
        const type value = valueFor(type{});                                   \
        group.Put(L## #name, VariantFrom(value));                              \
        EXPECT_EQ(core->get_##name(), value) << #name;                         \
        EXPECT_EQ(ValueAs<type>(*group.Get(L## #name).get()), value) << #name; \
    }
#define ORV_CHECK_GROUP(groupName, list)                              \
    {                                                                 \
        LateBoundDispatch group = Child(application, L## #groupName); \
        const auto core = Fake().groupName##Store;                    \
        list(ORV_CHECK_OPTION)                                        \
    }
    ORV_OPTION_GROUPS(ORV_CHECK_GROUP)
#undef ORV_CHECK_GROUP
#undef ORV_CHECK_OPTION
    application.Call(L"Quit");
}

}  // namespace
}  // namespace orv::test
