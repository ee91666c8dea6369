// The component driving the doubles through its default object services, as it drives
// Tessera and Word on Windows: a whole Tessera session, and a whole analysis whose CSV log
// file the double writes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/DoublesFixture.h"
#include "front/BatchAnalyse.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "support/FakeTessera.h"
#include "tessera/clsBATessera.h"

namespace orv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::wstring kLabels = L";;;Repetitions;;;;100% Matches;;;;No Match;;;;Total;;;";
const std::wstring kColumns =
    L"File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;Words;"
    L"Placeables;Percent;Segments;Words;Placeables;Percent;Segments;Words;Characters;Placeables";

using SessionEndToEndTest = DoublesTest;

TEST_F(SessionEndToEndTest, ASessionStartsTesseraAndWordRunsTheJobAndQuitsBoth) {
    control.Set(L"CancelProcessedFiles", 3);
    clsBATessera session(ServiceSet(nullptr, nullptr, DefaultObjectServices()));
    session.put_LoadWordObject(true);
    folder.Write("main.tmv", "tm");
    session.put_TranslationMemory(folder.wpath("main.tmv"));
    session.put_TranslationMemoryUserName(L"anna");
    session.put_TranslationMemoryTargetLanguageId(1036);
    std::vector<int32_t> cancels;
    auto subscription =
        session.OnBatchCancelledByUser.Subscribe([&](int32_t n) { cancels.push_back(n); });

    EXPECT_TRUE(session.StartTessera());
    EXPECT_EQ(control.Number(L"WordCreated"), 1);
    EXPECT_TRUE(session.OpenTM());
    EXPECT_TRUE(session.SetUpLanguages());
    EXPECT_EQ(control.Number(L"TargetLanguageSet"), 1036);
    EXPECT_TRUE(session.RunJob(JobFile()));
    EXPECT_THAT(cancels, ElementsAre(3));

    EXPECT_TRUE(session.CloseTessera());
    EXPECT_EQ(control.Number(L"TMClosed"), 1);
    EXPECT_EQ(control.Number(L"TesseraQuit"), 1);
    EXPECT_EQ(control.Number(L"WordQuit"), 1);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 0);
    EXPECT_FALSE(control.Flag(L"WordRunning"));
    EXPECT_EQ(control.Number(L"EventConnections"), 0);
}

TEST_F(SessionEndToEndTest, ATesseraThatCannotBeCreatedIsTheComponentsError40001) {
    control.Set(L"TesseraCreationError", static_cast<int32_t>(E_FAIL));
    clsBATessera session(ServiceSet(nullptr, nullptr, DefaultObjectServices()));
    const auto error = RaisedBy([&] { session.StartTessera(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToOpenTes);
    EXPECT_EQ(error->description(), L"Unable to open Tessera");
}

TEST_F(SessionEndToEndTest, AWrongPasswordIsTheComponentsOwnError) {
    control.Set(L"TMPassword", L"right");
    clsBATessera session(ServiceSet(nullptr, nullptr, DefaultObjectServices()));
    folder.Write("main.tmv", "tm");
    session.put_TranslationMemory(folder.wpath("main.tmv"));
    session.put_TranslationMemoryPassword(L"wrong");
    session.StartTessera();
    EXPECT_EQ(ErrorNumber([&] { session.OpenTM(); }),
              ovOrvBatchAnalyseErrorUnableToOpenTMWrongPassword);
    session.CloseTessera();
}

struct AnalysisEndToEndTest : DoublesTest {
    void SetUp() override {
        DoublesTest::SetUp();
        folder.Write("main.tmv", "tm");
        ba.put_TranslationMemory(folder.wpath("main.tmv"));
        ba.put_TranslationMemoryUserName(L"anna");
        ba.put_TranslationMemoryTargetLanguageId(1031);
        ba.put_LogFileName(folder.wpath("run.log"));
        ba.get_Files()->Add(folder.wpath("a.rtf"));
        ba.get_Files()->Add(folder.wpath("b.rtf"));
        control.Set(L"CsvLog",
                    kLabels + L"\r\n" + kColumns + L"\r\n" + kRowA + L"\r\n" + kRowB + L"\r\n");
    }
    const std::wstring kRowA = L"{File1};0;5.5;2;10;0;5;8;190;3;95;0;0;0;0;10;200;1100;3";
    const std::wstring kRowB = L"{File2};1;4.25;0;0;0;0;1;15;0;27;3;40;2;73;4;55;230;2";
    BatchAnalyse ba;  // the default services: COM on Windows
};

TEST_F(AnalysisEndToEndTest, AnAnalysisFillsTheRecordsFromTheCsvTesseraWroteAndQuitsIt) {
    control.Set(L"CancelProcessedFiles", 1);
    ba.get_BATesserasettings()->put_WasInitialised(true);
    std::vector<int32_t> cancels;
    auto subscription =
        ba.OnBatchAnalysisCancelledByUser.Subscribe([&](int32_t n) { cancels.push_back(n); });

    EXPECT_TRUE(ba.Analyse());

    EXPECT_THAT(cancels, ElementsAre(1));
    EXPECT_TRUE(ba.get_Files()->Item(1)->get_FileProcessed());
    EXPECT_EQ(ba.get_Files()->Item(1)->get_WordsIn100Matches(), 190);
    EXPECT_EQ(ba.get_Files()->Item(2)->get_WordsTotal(), 55);
    EXPECT_THAT(Narrow(ba.GetCsvLogFileContentWithoutHeader()), HasSubstr("b.rtf;1;4.25"));
    // The job named both documents; every option was written; Tessera was quit.
    const std::wstring job = control.Text(L"LastJobFile");
    EXPECT_THAT(Narrow(job), HasSubstr("a.rtf\"")) << Narrow(job);
    EXPECT_THAT(Narrow(job), HasSubstr("b.rtf\""));
    EXPECT_EQ(control.Number(L"TesseraCreated"), 1);
    EXPECT_EQ(control.Number(L"TesseraQuit"), 1);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 0);
    const std::wstring writes = control.Text(L"OptionWrites");
    EXPECT_EQ(std::count(writes.begin(), writes.end(), L'\n'), 47) << Narrow(writes);
}

TEST_F(AnalysisEndToEndTest, AJobTesseraFailsIs40002AndTesseraIsStillQuit) {
    control.FailMember(L"TM.ExecuteJobFile", 50300, L"The analysis broke off");
    EXPECT_EQ(ErrorNumber([&] { ba.Analyse(); }), ovOrvBatchAnalyseErrorDuringAnalysis);
    EXPECT_EQ(control.Number(L"TMClosed"), 1);
    EXPECT_EQ(control.Number(L"TesseraQuit"), 1);
}

TEST_F(AnalysisEndToEndTest, AMissingCsvLogFileIs40005) {
    control.Set(L"WriteCsvLog", false);
    EXPECT_EQ(ErrorNumber([&] { ba.Analyse(); }), ovOrvBatchAnalyseErrorUnableToFindLogFile);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 0);
}

}  // namespace
}  // namespace orv::test
