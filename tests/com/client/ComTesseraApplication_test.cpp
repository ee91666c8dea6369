// The application's members through IDispatch by name: the option groups, CreateTM, Quit,
// and the batch event from connection to disconnection.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "client/DoublesFixture.h"
#include "com/client/BatchEventSink.h"
#include "com/client/ComTesseraApplication.h"
#include "com/client/EventConnection.h"
#include "platform/AutomationError.h"
#include "support/FakeTessera.h"

namespace orv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using TesseraApplicationTest = DoublesTest;

// A value for the n-th option written, different for every option, and how Tessera records
// it.
template <typename T>
T OptionValue(int n);
template <>
int32_t OptionValue<int32_t>(int n) {
    return 100 + n;
}
template <>
bool OptionValue<bool>(int n) {
    return n % 2 == 0;
}
template <>
std::wstring OptionValue<std::wstring>(int n) {
    return L"text " + std::to_wstring(n);
}
std::wstring Recorded(int32_t value) {
    return std::to_wstring(value);
}
std::wstring Recorded(bool value) {
    return value ? L"True" : L"False";
}
std::wstring Recorded(const std::wstring& value) {
    return value;
}

TEST_F(TesseraApplicationTest, EveryOptionOfEveryGroupArrivesAndReadsBack) {
    auto tessera = NewTessera();
    std::vector<std::wstring> expected;
    int n = 0;
#define ORV_WRITE_OPTION(type, name)                                           \
    {                                                                          \
        const type value = OptionValue<type>(++n);                             \
        group->put_##name(value);                                              \
        expected.push_back(groupName + L"." L## #name L"=" + Recorded(value)); \
    }
#define ORV_WRITE_GROUP(groupProperty, list)               \
    {                                                      \
        auto group = tessera->get_##groupProperty();       \
        ASSERT_TRUE(group);                                \
        const std::wstring groupName = L## #groupProperty; \
        list(ORV_WRITE_OPTION)                             \
    }
    ORV_OPTION_GROUPS(ORV_WRITE_GROUP)
#undef ORV_WRITE_GROUP
#undef ORV_WRITE_OPTION
    std::wstring lines;
    for (const auto& line : expected) lines += (lines.empty() ? L"" : L"\r\n") + line;
    EXPECT_EQ(control.Text(L"OptionWrites"), lines);
    EXPECT_EQ(expected.size(), 48u);

    n = 0;
#define ORV_READ_OPTION(type, name) EXPECT_EQ(group->get_##name(), OptionValue<type>(++n)) << #name;
#define ORV_READ_GROUP(groupProperty, list)          \
    {                                                \
        auto group = tessera->get_##groupProperty(); \
        list(ORV_READ_OPTION)                        \
    }
    ORV_OPTION_GROUPS(ORV_READ_GROUP)
#undef ORV_READ_GROUP
#undef ORV_READ_OPTION
}

TEST_F(TesseraApplicationTest, AnOptionWriteTesseraRefusesThrowsItsErrorAndIsNotStored) {
    auto tessera = NewTessera();
    control.FailMember(L"GeneralOptions.MaximumHits", 50200, L"Maximum hits out of range", 1);
    auto general = tessera->get_GeneralOptions();
    const auto error = RaisedBy([&] { general->put_MaximumHits(5000); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 50200);
    EXPECT_EQ(error->source(), L"Tessapp");
    EXPECT_EQ(error->description(), L"Maximum hits out of range");
    EXPECT_EQ(control.Text(L"OptionWrites"), L"");
    // A group of the same name elsewhere is another property.
    tessera->get_ConcordanceOptions()->put_MaximumHits(7);
    EXPECT_EQ(control.Text(L"OptionWrites"), L"ConcordanceOptions.MaximumHits=7");
}

TEST_F(TesseraApplicationTest, RepeatedReadsOfAnObjectGiveOneWrapper) {
    auto tessera = NewTessera();
    EXPECT_EQ(tessera->get_CurrentTM(), tessera->get_CurrentTM());
    EXPECT_EQ(tessera->get_ToolsOptions(), tessera->get_ToolsOptions());
    // Each read still asks Tessera: the object it hands out could change.
    EXPECT_EQ(control.CallCount(L"Application.CurrentTM"), 2);
}

TEST_F(TesseraApplicationTest, CreateTMPassesItsSixteenArgumentsInOrder) {
    auto tessera = NewTessera();
    const std::wstring path = folder.wpath("new.tmv");
    tessera->CreateTM(path, L"n1", 1031, L"n2", 2057, L"n3", 1, 2, 3, 4, 5, 6, 7, L"t1", L"t2",
                      L"t3");
    EXPECT_EQ(control.Text(L"LastCreateTMArguments"),
              path + L"|n1|1031|n2|2057|n3|1|2|3|4|5|6|7|t1|t2|t3");
    auto tm = tessera->get_CurrentTM();
    EXPECT_TRUE(tm->get_IsOpen());
    EXPECT_EQ(tm->get_SourceLanguage(), 1031);
    EXPECT_THAT(tm->get_TargetLanguages(), ElementsAre(2057));
}

TEST_F(TesseraApplicationTest, CreateTMThatTesseraRefusesThrowsItsError) {
    auto tessera = NewTessera();
    const auto error = RaisedBy([&] {
        tessera->CreateTM(folder.wpath("new.tmv"), L"", 0, L"", 2057, L"", -1, -1, -1, -1, -1, -1,
                          -1, L"", L"", L"");
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 50012);
    EXPECT_FALSE(tessera->get_CurrentTM()->get_IsOpen());
}

TEST_F(TesseraApplicationTest, QuitEndsTheApplicationAndLaterCallsAreErrors) {
    auto tessera = NewTessera();
    tessera->Quit();
    EXPECT_EQ(control.Number(L"TesseraQuit"), 1);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 0);
    const auto error = RaisedBy([&] { tessera->get_CurrentTM(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), static_cast<int32_t>(RPC_E_DISCONNECTED));
}

TEST_F(TesseraApplicationTest, ReleasingTheApplicationLeavesItRunning) {
    NewTessera().reset();
    EXPECT_EQ(control.Number(L"TesseraRunning"), 1);
    EXPECT_EQ(control.Number(L"TesseraQuit"), 0);
}

// The cancel event, with its argument by value or by reference.
class BatchEventTest : public DoublesTest, public ::testing::WithParamInterface<bool> {};

TEST_P(BatchEventTest, ReachesTheSubscriberUnchangedBeforeTheJobReturns) {
    control.Set(L"EventByReference", GetParam());
    control.Set(L"CancelProcessedFiles", 123456);
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    std::vector<std::pair<int32_t, int32_t>> events;  // with the jobs finished at the time
    auto subscription = tessera->OnBatchCancelledByUser.Subscribe(
        [&](int32_t processed) { events.emplace_back(processed, control.Number(L"JobFilesRun")); });
    tm->ExecuteJobFile(JobFile());
    EXPECT_THAT(events, ElementsAre(std::pair{123456, 0}));
}

INSTANTIATE_TEST_SUITE_P(Argument, BatchEventTest, ::testing::Values(false, true),
                         [](const auto& named) {
                             return std::string(named.param ? "ByReference" : "ByValue");
                         });

TEST_F(TesseraApplicationTest, AnEventUnderAnotherDispatchIdIsNotTheCancel) {
    control.Set(L"EventDispId", 2);
    auto tessera = NewTessera();
    int events = 0;
    auto subscription = tessera->OnBatchCancelledByUser.Subscribe([&](int32_t) { ++events; });
    control.RaiseBatchCancelled(3);
    EXPECT_EQ(events, 0);
}

TEST_F(TesseraApplicationTest, TheConnectionLastsAsLongAsTheWrapper) {
    auto tessera = NewTessera();
    EXPECT_TRUE(static_cast<com::ComTesseraApplication&>(*tessera).receivesEvents());
    EXPECT_EQ(control.Number(L"EventConnections"), 1);
    tessera.reset();
    EXPECT_EQ(control.Number(L"EventConnections"), 0);
    // The application runs on and fires into nothing.
    control.RaiseBatchCancelled(1);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 1);
}

TEST_F(TesseraApplicationTest, ASubscriberMayQuitAndReleaseTesseraDuringTheEvent) {
    control.Set(L"CancelProcessedFiles", 2);
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    auto subscription = tessera->OnBatchCancelledByUser.Subscribe([&](int32_t) {
        tessera->Quit();
        tessera.reset();
    });
    const auto error = RaisedBy([&] { tm->ExecuteJobFile(JobFile()); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), static_cast<int32_t>(RPC_E_DISCONNECTED));
    EXPECT_EQ(tessera, nullptr);
    EXPECT_EQ(control.Number(L"EventConnections"), 0);
}

// Two applications, reached without wrappers, each with a connection of one sink.
struct TwoConnections : DoublesTest {
    Microsoft::WRL::ComPtr<IDispatch> NewApplication() {
        CLSID classId{};
        Microsoft::WRL::ComPtr<IDispatch> application;
        EXPECT_EQ(CLSIDFromProgID(L"Tessapp.Application", &classId), S_OK);
        EXPECT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_SERVER, IID_PPV_ARGS(&application)),
                  S_OK);
        return application;
    }
    std::vector<int32_t> events;
    Microsoft::WRL::ComPtr<com::BatchEventSink> sink =
        com::BatchEventSink::Create([this](int32_t n) { events.push_back(n); });
};

TEST_F(TwoConnections, MovingAConnectionOverAnotherEndsTheOther) {
    auto first = NewApplication();
    auto second = NewApplication();
    com::EventConnection kept(first.Get(), com::kTesseraBatchEventsInterfaceId, sink.Get());
    com::EventConnection moved(second.Get(), com::kTesseraBatchEventsInterfaceId, sink.Get());
    ASSERT_TRUE(kept.active() && moved.active());
    EXPECT_EQ(control.Number(L"EventConnections"), 2);

    kept = std::move(moved);
    EXPECT_FALSE(moved.active());
    EXPECT_EQ(control.Number(L"EventConnections"), 1);
    control.RaiseBatchCancelled(4);  // both applications fire; only the second is connected
    EXPECT_THAT(events, ElementsAre(4));

    kept.Reset();
    EXPECT_EQ(control.Number(L"EventConnections"), 0);
}

TEST_F(TwoConnections, ADetachedSinkTakesEventsAndPassesNoneOn) {
    auto application = NewApplication();
    com::EventConnection connection(application.Get(), com::kTesseraBatchEventsInterfaceId,
                                    sink.Get());
    sink->Detach();
    control.RaiseBatchCancelled(5);
    EXPECT_THAT(events, IsEmpty());
}

TEST_F(TwoConnections, AnObjectWithoutTheConnectionPointGivesAnInactiveConnection) {
    auto word = services.CreateWord();
    CLSID classId{};
    Microsoft::WRL::ComPtr<IUnknown> running;
    ASSERT_EQ(CLSIDFromProgID(L"Word.Application", &classId), S_OK);
    ASSERT_EQ(GetActiveObject(classId, nullptr, &running), S_OK);
    com::EventConnection connection(running.Get(), com::kTesseraBatchEventsInterfaceId, sink.Get());
    EXPECT_FALSE(connection.active());
}

}  // namespace
}  // namespace orv::test
