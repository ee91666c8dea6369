// The TM members through IDispatch by name: what arrives at Tessera, what comes back in each
// form Tessera may use, and Tessera's errors reaching the component untranslated.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "client/DoublesFixture.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "results/CsvLogFileName.h"
#include "support/FakeTessera.h"

namespace orv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using TesseraTMTest = DoublesTest;

TEST_F(TesseraTMTest, OpenPassesItsFourTextsInOrderAndOpensTheTM) {
    auto tessera = NewTessera();
    folder.Write("main.tmv", "tm");
    auto tm = tessera->get_CurrentTM();
    ASSERT_TRUE(tm);
    EXPECT_FALSE(tm->get_IsOpen());

    tm->Open(folder.wpath("main.tmv"), L"anna", L"s3cret", L"w");

    EXPECT_EQ(control.Text(L"LastOpenArguments"), folder.wpath("main.tmv") + L"|anna|s3cret|w");
    EXPECT_TRUE(tm->get_IsOpen());
    EXPECT_EQ(tm->get_SourceLanguage(), 1033);
    EXPECT_THAT(tm->get_TargetLanguages(), ElementsAre(1031, 1036));
}

TEST_F(TesseraTMTest, AWrongPasswordFailsWithTesserasOwnNumberAndText) {
    control.Set(L"TMPassword", L"right");
    auto tessera = NewTessera();
    folder.Write("main.tmv", "tm");
    const auto error = RaisedBy(
        [&] { tessera->get_CurrentTM()->Open(folder.wpath("main.tmv"), L"anna", L"wrong", L"w"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 50003);
    EXPECT_EQ(error->source(), L"Tessapp");
    EXPECT_THAT(Narrow(error->description()), HasSubstr("50003"));
    EXPECT_FALSE(tessera->get_CurrentTM()->get_IsOpen());
}

// TargetLanguages in each array form an application may hand out.
struct LanguageForm {
    const char* name;
    const wchar_t* elements;
    int32_t lowerBound;
    bool byReference;
    friend void PrintTo(const LanguageForm& form, std::ostream* out) { *out << form.name; }
};

class TargetLanguagesFormTest : public DoublesTest,
                                public ::testing::WithParamInterface<LanguageForm> {};

TEST_P(TargetLanguagesFormTest, GiveTheLanguagesInTesserasOrder) {
    control.Set(L"TMTargetLanguages", L"2057,1031,1036");
    control.Set(L"TargetLanguagesForm", GetParam().elements);
    control.Set(L"TargetLanguagesLowerBound", GetParam().lowerBound);
    control.Set(L"TargetLanguagesByReference", GetParam().byReference);
    auto tessera = NewTessera();
    EXPECT_THAT(OpenedTM(tessera)->get_TargetLanguages(), ElementsAre(2057, 1031, 1036));
}

INSTANTIATE_TEST_SUITE_P(Forms, TargetLanguagesFormTest,
                         ::testing::Values(LanguageForm{"Variants", L"Variant", 0, false},
                                           LanguageForm{"Longs", L"Long", 0, false},
                                           LanguageForm{"Integers", L"Integer", 0, false},
                                           LanguageForm{"VariantsFromOne", L"Variant", 1, false},
                                           LanguageForm{"LongsFromFive", L"Long", 5, false},
                                           LanguageForm{"VariantsByReference", L"Variant", 0, true},
                                           LanguageForm{"LongsByReference", L"Long", 1, true},
                                           LanguageForm{"IntegersByReference", L"Integer", 0,
                                                        true}),
                         [](const auto& named) { return std::string(named.param.name); });

TEST_F(TesseraTMTest, ATMWithoutTargetLanguagesGivesAnEmptyList) {
    control.Set(L"TMTargetLanguages", L"");
    auto tessera = NewTessera();
    EXPECT_THAT(OpenedTM(tessera)->get_TargetLanguages(), IsEmpty());
}

TEST_F(TesseraTMTest, TheTargetLanguagePutArrivesAndALanguageTheTMLacksIsRefused) {
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    tm->put_TargetLanguage(1036);
    EXPECT_EQ(control.Text(L"CallLog"), L"Application.CurrentTM\r\nTM.Open\r\nTM.TargetLanguage=");
    EXPECT_EQ(control.Number(L"TargetLanguageSet"), 1036);

    const auto error = RaisedBy([&] { tm->put_TargetLanguage(2057); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 50011);
    EXPECT_EQ(error->description(), L"The TM has no target language 2057");
    EXPECT_EQ(control.Number(L"TargetLanguageSet"), 1036);
}

TEST_F(TesseraTMTest, CloseClosesTheTM) {
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    tm->Close();
    EXPECT_FALSE(tm->get_IsOpen());
    EXPECT_EQ(control.Number(L"TMClosed"), 1);
}

TEST_F(TesseraTMTest, ExecuteJobFileReturnsWhenTheLogAndItsCsvLogFileAreWritten) {
    control.Set(L"AnalysisLog", L"log of {File1}");
    control.Set(L"CsvLog", L"header\r\n{File1};1;2\r\n{File2};3;4\r\n");
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    const std::wstring job = JobFile(2);

    tm->ExecuteJobFile(job);

    const std::string doc1 = (folder.path() / "doc1.rtf").string();
    const std::string doc2 = (folder.path() / "doc2.rtf").string();
    EXPECT_EQ(ReadBytes(folder.path() / "run.log"), "log of " + doc1);
    EXPECT_EQ(ReadBytes(folder.path() / "run.csv"),
              "header\r\n" + doc1 + ";1;2\r\n" + doc2 + ";3;4\r\n");
    EXPECT_EQ(control.Text(L"LastJobFile"), FromNarrow(ReadBytes(OnDisk(job))));
    EXPECT_EQ(control.Number(L"JobFilesRun"), 1);
}

// The double names the CSV log file by the application's rule, which the component's parser
// relies on: the two must agree, or the parser finds no file.
TEST_F(TesseraTMTest, TheCsvLogFileIsWhereTheComponentLooksForIt) {
    control.Set(L"CsvLog", L"csv");
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    for (const char* logName : {"run.log", "run", "run.old.log", ".log", "dir.d/run"}) {
        SCOPED_TRACE(logName);
        const std::wstring log = folder.wpath(logName);
        std::filesystem::create_directories(OnDisk(log).parent_path());
        folder.Write("job.txt", "[Analyse]\r\nLogFile = \"" + OnDisk(log).string() + "\"\r\n");
        tm->ExecuteJobFile(folder.wpath("job.txt"));
        EXPECT_EQ(ReadBytes(OnDisk(CsvLogFileNameFor(log))), "csv");
    }
}

TEST_F(TesseraTMTest, AJobFileThatIsNotThereIsTesserasError) {
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    const auto error = RaisedBy([&] { tm->ExecuteJobFile(folder.wpath("missing.txt")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 53);
    EXPECT_EQ(error->source(), L"Tessapp");
}

// Every member fails with Tessera's own number, source and description, untranslated.
struct FailingMember {
    const char* name;
    const wchar_t* member;
    std::function<void(TessappTM&)> call;
    friend void PrintTo(const FailingMember& m, std::ostream* out) { *out << m.name; }
};

class FailingTMMemberTest : public DoublesTest,
                            public ::testing::WithParamInterface<FailingMember> {};

TEST_P(FailingTMMemberTest, RaisesTesserasErrorUnchanged) {
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    const std::wstring job = JobFile();
    control.FailMember(GetParam().member, 50123, L"Tessera says no (50123)");
    const auto error = RaisedBy([&] {
        if (std::wstring(GetParam().member) == L"TM.ExecuteJobFile") {
            tm->ExecuteJobFile(job);
        } else {
            GetParam().call(*tm);
        }
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 50123);
    EXPECT_EQ(error->source(), L"Tessapp");
    EXPECT_EQ(error->description(), L"Tessera says no (50123)");
}

INSTANTIATE_TEST_SUITE_P(
    Members, FailingTMMemberTest,
    ::testing::Values(FailingMember{"Open", L"TM.Open",
                                    [](TessappTM& tm) { tm.Open(L"C:\\x.tmv", L"", L"", L"w"); }},
                      FailingMember{"Close", L"TM.Close", [](TessappTM& tm) { tm.Close(); }},
                      FailingMember{"SourceLanguage", L"TM.SourceLanguage",
                                    [](TessappTM& tm) { tm.get_SourceLanguage(); }},
                      FailingMember{"TargetLanguages", L"TM.TargetLanguages",
                                    [](TessappTM& tm) { tm.get_TargetLanguages(); }},
                      FailingMember{"TargetLanguage", L"TM.TargetLanguage",
                                    [](TessappTM& tm) { tm.put_TargetLanguage(1031); }},
                      FailingMember{"IsOpen", L"TM.IsOpen", [](TessappTM& tm) { tm.get_IsOpen(); }},
                      FailingMember{"ExecuteJobFile", L"TM.ExecuteJobFile", [](TessappTM&) {}}),
    [](const auto& named) { return std::string(named.param.name); });

TEST_F(TesseraTMTest, ACallThatFailsWithoutAnExceptionCarriesTheStatusAsItsNumber) {
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    control.FailMember(L"TM.IsOpen", static_cast<int32_t>(RPC_E_SERVERFAULT));
    const auto error = RaisedBy([&] { tm->get_IsOpen(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), static_cast<int32_t>(RPC_E_SERVERFAULT));
    EXPECT_FALSE(error->description().empty());
}

TEST_F(TesseraTMTest, TheTMOfATesseraThatHasGoneFailsEveryCallWithoutCrashing) {
    auto tessera = NewTessera();
    auto tm = OpenedTM(tessera);
    tessera->Quit();
    tessera.reset();
    for (const auto& call : std::vector<std::function<void()>>{
             [&] { tm->get_IsOpen(); }, [&] { tm->get_TargetLanguages(); }, [&] { tm->Close(); },
             [&] { tm->ExecuteJobFile(L"C:\\job.txt"); }}) {
        const auto error = RaisedBy(call);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), static_cast<int32_t>(RPC_E_DISCONNECTED));
    }
}

}  // namespace
}  // namespace orv::test
