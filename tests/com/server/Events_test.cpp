// The events end to end, as a compiled client receives them: Tessera (the double) reports a
// cancelled batch while it runs the job, and the number reaches the sink that the client
// advised on the server's object, before the call that ran the job returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EventSink.h"
#include "ServerUnderTest.h"
#include "support/DoublesControl.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

const std::wstring kCsvLog =
    L";;;Repetitions;;;;100% Matches;;;;No Match;;;;Total;;;\r\n"
    L"File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;Words;"
    L"Placeables;Percent;Segments;Words;Placeables;Percent;Segments;Words;Characters;Placeables\r\n"
    L"{File1};0;5.5;2;10;0;5;8;190;3;95;0;0;0;0;10;200;1100;3\r\n";

class EventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        control.Reset();
        control.Set(L"CsvLog", kCsvLog);
        folder.Write("main.tmv", "tm");
    }
    void TearDown() override { control.Reset(); }

    // Sets the properties a run needs.
    void SetUpRun(IDispatch* object) {
        ASSERT_EQ(
            Invoke(object, L"TranslationMemory", Call::Put, {Text(folder.wpath("main.tmv"))}).hr,
            S_OK);
        ASSERT_EQ(Invoke(object, L"TranslationMemoryUserName", Call::Put, {Text(L"anna")}).hr,
                  S_OK);
        ASSERT_EQ(Invoke(object, L"TranslationMemoryTargetLanguageId", Call::Put, {Long(1031)}).hr,
                  S_OK);
        ASSERT_EQ(Invoke(object, L"LogFileName", Call::Put, {Text(folder.wpath("run.log"))}).hr,
                  S_OK);
    }

    DoublesControl control;
    TempFolder folder;
};

TEST_F(EventsTest, ACancelledBatchReachesTheBatchAnalyseSinkDuringAnalyse) {
    auto ba = ServerDll::Get().Create<IDispatch>(CLSID_BatchAnalyse);
    ASSERT_TRUE(ba);
    SetUpRun(ba.Get());
    auto files = Invoke(ba.Get(), L"Files", Call::Get);
    ASSERT_EQ(files.hr, S_OK);
    ASSERT_EQ(
        Invoke(files.result.get()->pdispVal, L"Add", Call::Method, {Text(folder.wpath("a.txt"))})
            .hr,
        S_OK);
    EventSink sink(DIID___BatchAnalyse);
    ASSERT_EQ(sink.Connect(ba.Get()), S_OK);
    control.Set(L"CancelProcessedFiles", 5);

    const auto analysed = Invoke(ba.Get(), L"Analyse", Call::Method);

    ASSERT_EQ(analysed.hr, S_OK) << Narrow(analysed.description);
    EXPECT_EQ(analysed.result.get()->boolVal, VARIANT_TRUE);
    EXPECT_EQ(sink.received, std::vector<int32_t>{5});
    EXPECT_EQ(control.Number(L"EventConnections"), 0) << "the component let go of Tessera";
    EXPECT_EQ(sink.Disconnect(), S_OK);
}

TEST_F(EventsTest, ASinkDisconnectedBeforeTheRunHearsNothingAndTheRunStillSucceeds) {
    auto ba = ServerDll::Get().Create<IDispatch>(CLSID_BatchAnalyse);
    SetUpRun(ba.Get());
    auto files = Invoke(ba.Get(), L"Files", Call::Get);
    Invoke(files.result.get()->pdispVal, L"Add", Call::Method, {Text(folder.wpath("a.txt"))});
    EventSink sink(DIID___BatchAnalyse);
    ASSERT_EQ(sink.Connect(ba.Get()), S_OK);
    ASSERT_EQ(sink.Disconnect(), S_OK);
    control.Set(L"CancelProcessedFiles", 2);

    EXPECT_EQ(Invoke(ba.Get(), L"Analyse", Call::Method).hr, S_OK);
    EXPECT_TRUE(sink.received.empty());
}

TEST_F(EventsTest, ACancelledBatchReachesTheSessionSinkWhileItsTesseraRuns) {
    auto session = ServerDll::Get().Create<IDispatch>(CLSID_clsBATessera);
    ASSERT_TRUE(session);
    EventSink sink(DIID___clsBATessera);
    ASSERT_EQ(sink.Connect(session.Get()), S_OK);

    ASSERT_EQ(Invoke(session.Get(), L"StartTessera", Call::Method).hr, S_OK);
    control.RaiseBatchCancelled(7);
    control.RaiseBatchCancelled(0);
    ASSERT_EQ(Invoke(session.Get(), L"CloseTessera", Call::Method).hr, S_OK);
    // Closed, the session hears no Tessera: there is none running to fire.
    control.RaiseBatchCancelled(9);

    EXPECT_EQ(sink.received, (std::vector<int32_t>{7, 0}));
    EXPECT_EQ(control.Number(L"TesseraRunning"), 0);
    EXPECT_EQ(sink.Disconnect(), S_OK);
}

}  // namespace
}  // namespace orv::test
