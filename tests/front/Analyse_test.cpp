// Whole analyses against the scripted Tessera, on real files in a real temporary folder: what
// each failing step leaves behind, the order of the checks, who starts and quits Tessera,
// and what reaches the client, also when it calls back in the middle of a run.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "front/BatchAnalyse.h"
#include "front/modErrors.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "support/FakePlatform.h"
#include "support/FakeTessera.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A CSV log file as the analysis writes it: band labels, column names, one row a document.
const std::string kLabels = ";;;Repetitions;;;;100% Matches;;;;No Match;;;;Total;;;";
const std::string kColumns =
    "File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;Words;"
    "Placeables;Percent;Segments;Words;Placeables;Percent;Segments;Words;Characters;Placeables";
const std::string kRowA = ";0;5.5;2;10;0;5;8;190;3;95;0;0;0;0;10;200;1100;3";
const std::string kRowB = ";1;4.25;0;0;0;0;1;15;0;27;3;40;2;73;4;55;230;2";

// `expected` appears in `calls` in this order, other calls allowed in between.
bool InOrder(const std::vector<std::string>& calls, const std::vector<std::string>& expected) {
    auto next = expected.begin();
    for (const auto& call : calls)
        if (next != expected.end() && call == *next) ++next;
    return next == expected.end();
}

// A platform whose message processing delivers one client call, as a window message would.
class PlatformWithClientCall : public FakePlatform {
public:
    void ProcessMessages() const override {
        FakePlatform::ProcessMessages();
        if (auto call = std::exchange(clientCall, nullptr)) call();
    }
    mutable std::function<void()> clientCall;
};

class AnalyseTest : public ::testing::Test {
public:
    // A batch that passes every check (the password stays empty), two documents, and a
    // Tessera that writes their CSV log file beside the log.
    AnalyseTest() {
        fs::create_directory(folder.path() / "temp");
        platform->environment[L"TEMP"] = folder.wpath("temp");
        folder.Write("main.tmv", "tm");
        ba.put_TranslationMemory(folder.wpath("main.tmv"));
        ba.put_TranslationMemoryUserName(L"anna");
        ba.put_TranslationMemoryTargetLanguageId(1033);
        ba.put_LogFileName(folder.wpath("run.log"));
        ba.get_Files()->Add(folder.wpath("a.rtf"));
        ba.get_Files()->Add(folder.wpath("b.rtf"));
        objects->script.csvLogFile = folder.path() / "run.csv";
        objects->script.csvLogContent =
            kLabels + "\r\n" + kColumns + "\r\n" + RowA() + "\r\n" + RowB() + "\r\n";
    }
    std::string RowA() const { return (folder.path() / "a.rtf").string() + kRowA; }
    std::string RowB() const { return (folder.path() / "b.rtf").string() + kRowB; }

    std::shared_ptr<FakeTesseraApplication> App() const { return objects->application(); }
    FakeTesseraTM& TM() const { return static_cast<FakeTesseraTM&>(*App()->get_CurrentTM()); }
    const std::vector<std::string>& Calls() const { return *objects->log; }
    std::set<std::string> TempFiles() const { return FileNamesIn(folder.path() / "temp"); }
    // A temporary TM in the TM's own source language, or (false) the TM itself.
    void UseEmptyTM(bool emptyTM = true) {
        ba.put_CreateEmptyTM(emptyTM);
        ba.put_TranslationMemorySourceLanguageId(1031);
    }
    // Runs `during` while the job runs, as a subscriber of the cancel event.
    Subscription WhileTheJobRuns(std::function<void()> during) {
        objects->script.cancelWithProcessedFiles = 0;
        if (App()) App()->script.cancelWithProcessedFiles = 0;
        return ba.OnBatchAnalysisCancelledByUser.Subscribe([during](int32_t) { during(); });
    }

    TempFolder folder;
    std::shared_ptr<PlatformWithClientCall> platform = std::make_shared<PlatformWithClientCall>();
    std::shared_ptr<FakeObjectServices> objects = std::make_shared<FakeObjectServices>();
    BatchAnalyse ba{ServiceSet(platform, DefaultFileSystem(), objects)};
};

TEST_F(AnalyseTest, ACompleteAnalysisFillsTheRecordsRelaysTheCancelAndLeavesOnlyTheLogs) {
    folder.Write("run.log", "the analysis log");
    objects->tesseraFoundFromLookUp = 0;  // never seen running: the wait gives up, not the run
    objects->script.cancelWithProcessedFiles = 7;
    std::vector<std::pair<int32_t, std::string>> cancels;  // with the call that was running
    auto subscription = ba.OnBatchAnalysisCancelledByUser.Subscribe(
        [&](int32_t processed) { cancels.emplace_back(processed, Calls().back()); });

    EXPECT_TRUE(ba.Analyse());

    EXPECT_THAT(cancels, ElementsAre(std::pair{7, std::string("TM.ExecuteJobFile")}));

    auto a = ba.get_Files()->Item(1);
    EXPECT_TRUE(a->get_FileProcessed());
    EXPECT_DOUBLE_EQ(a->get_CharsPerWord(), 5.5);
    EXPECT_EQ(a->get_WordsIn100Matches(), 190);
    EXPECT_EQ(a->get_CharactersTotal(), 1100);
    EXPECT_EQ(a->get_SegmentsIn95Matches(), -1);  // a band the log does not have
    auto b = ba.get_Files()->Item(2);
    EXPECT_TRUE(b->get_FileProcessed());
    EXPECT_EQ(b->get_TaggingErrors(), 1);
    EXPECT_EQ(b->get_WordsInNoMatches(), 40);
    EXPECT_EQ(b->get_WordsTotal(), 55);

    const std::wstring rows = FromNarrow(RowA() + "\r\n" + RowB());
    EXPECT_EQ(ba.GetCsvLogFileContentWithoutHeader(), rows);
    EXPECT_EQ(ba.GetCsvLogFileContent(), FromNarrow(kLabels + "\r\n" + kColumns + "\r\n") + rows);

    // The job file listed both documents and the log, and is gone.
    const std::string& job = TM().jobText;
    EXPECT_THAT(job, HasSubstr("LogFile = \"" + (folder.path() / "run.log").string() + "\"\r\n"));
    EXPECT_THAT(job, HasSubstr("Files = 2\r\n"));
    EXPECT_THAT(job, HasSubstr("File1 = \"" + (folder.path() / "a.rtf").string() + "\"\r\n"));
    EXPECT_THAT(job, HasSubstr("File2 = \"" + (folder.path() / "b.rtf").string() + "\"\r\n"));
    EXPECT_THAT(TempFiles(), IsEmpty());
    EXPECT_TRUE(fs::exists(folder.path() / "run.log"));
    EXPECT_TRUE(fs::exists(folder.path() / "run.csv"));

    EXPECT_TRUE(InOrder(
        Calls(),
        {"Objects.CreateTessera", "TM.Open(" + (folder.path() / "main.tmv").string() + ",anna,,w)",
         "TM.TargetLanguage=1033", "TM.ExecuteJobFile", "TM.Close", "Application.Quit"}));
    EXPECT_FALSE(TM().open);
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
    EXPECT_EQ(platform->sleptMilliseconds, 25000u) << "25 retries, and no real time passed";
    EXPECT_GT(platform->messageRounds, 25) << "the client's messages flow while it waits";
    EXPECT_EQ(platform->windowClassAsked, L"Tessapp2Class");
    EXPECT_EQ(platform->foregroundWindows.size(), 1u);
}

TEST_F(AnalyseTest, TheChecksStopAtTheFirstGapInTheirOrderBeforeTesseraIsStarted) {
    fs::create_directory(folder.path() / "tmfolder");
    enum Tm { None, Existing, Folder, Missing };
    const std::wstring paths[] = {L"", folder.wpath("main.tmv"), folder.wpath("tmfolder"),
                                  folder.wpath("absent.tmv")};
    const struct {
        const char* gap;
        bool createEmptyTM;
        Tm tm;
        std::wstring userName;
        int32_t source, target, error;
    } cases[] = {
        {"empty TM without source", true, Existing, L"anna", 0, 1033, 40011},
        {"empty TM without target", true, None, L"", 1031, 0, 40012},
        {"no TM before no user", false, None, L"", 0, 0, 40013},
        {"missing TM before no user", false, Missing, L"", 0, 0, 40015},
        {"a folder is no TM", false, Folder, L"anna", 0, 1033, 40015},
        {"no user before no target", false, Existing, L"", 0, 0, 40014},
        {"no target", false, Existing, L"anna", 1031, 0, 40012},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gap);
        ba.put_CreateEmptyTM(c.createEmptyTM);
        ba.put_TranslationMemory(paths[c.tm]);
        ba.put_TranslationMemoryUserName(c.userName);
        ba.put_TranslationMemorySourceLanguageId(c.source);
        ba.put_TranslationMemoryTargetLanguageId(c.target);
        const auto error = RaisedBy([&] { ba.Analyse(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), c.error);
        EXPECT_EQ(error->source(), L"");
        EXPECT_EQ(error->description(), modErrors::GetErrorMessage(c.error, L""));
    }
    EXPECT_THAT(Calls(), IsEmpty());
    EXPECT_EQ(platform->tempFileRequests, 0);
}

TEST_F(AnalyseTest, AFailedCheckClosesTheTMOfASessionHeldBeforeAndLeavesTesseraRunning) {
    EXPECT_TRUE(ba.StartTessera());
    TM().Open(L"other.tmv", L"u", L"", L"w");
    ba.put_TranslationMemoryUserName(L"");

    EXPECT_EQ(ErrorNumber([&] { ba.Analyse(); }), 40014);
    EXPECT_FALSE(TM().open);
    EXPECT_FALSE(App()->quit);
}

// --- Failing steps and their clean-up -----------------------------------------------------

struct FailureCase {
    const char* name;
    std::function<void(AnalyseTest&)> arrange;
    int32_t number;
    std::wstring source, description;
    int tempFilesMade;  // the job file and a temporary TM, before the failure
};

class FailingStep : public AnalyseTest, public ::testing::WithParamInterface<FailureCase> {};

// A clean-up step that fails neither hides the error nor stops the steps after it.
TEST_P(FailingStep, ReachesTheCallerUnchangedAfterTheTMIsClosedTheFilesDeletedAndTesseraQuit) {
    const auto& c = GetParam();
    c.arrange(*this);

    const auto error = RaisedBy([&] { ba.Analyse(); });

    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), c.number);
    EXPECT_EQ(error->source(), c.source);
    EXPECT_EQ(error->description(), c.description);
    EXPECT_EQ(platform->tempFileRequests, c.tempFilesMade);
    EXPECT_THAT(TempFiles(), IsEmpty());
    EXPECT_EQ(TM().open, App()->script.closeFails);
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
    EXPECT_TRUE(ba.StartTessera()) << "the session this Analyse created was not let go";
}

INSTANTIATE_TEST_SUITE_P(
    Analyse, FailingStep,
    ::testing::Values(
        FailureCase{"OpenTM",
                    [](auto& fx) {
                        fx.objects->script.openFailure = FakeFailure{1, L"50003"};
                    },
                    40016, L"", L"Unknown error", 0},
        FailureCase{"CreateTemporaryTM",
                    [](auto& fx) {
                        fx.UseEmptyTM();
                        fx.objects->script.createTMAlwaysFails = true;
                    },
                    40007, L"", L"Unknown error", 1},
        FailureCase{"SetUpLanguages",
                    [](auto& fx) { fx.ba.put_TranslationMemoryTargetLanguageId(2057); }, 40008, L"",
                    L"Unknown error", 0},
        FailureCase{"CreateJobFile",
                    [](auto& fx) { fx.ba.put_HTMLSettingsFileName(L"no-such-settings.ini"); },
                    40003, L"", L"Unable to find file: \"no-such-settings.ini\"", 1},
        FailureCase{"FilesNeverRead", [](auto& fx) { fx.ba.putref_Files(nullptr); },
                    kErrObjectNotSet, kRuntimeErrorSource,
                    L"Object variable or With block variable not set", 0},
        FailureCase{"OptionWrite",
                    [](auto& fx) {
                        fx.ba.get_BATesserasettings()->put_WasInitialised(true);
                        fx.objects->script.refusedOptionWrite = L"ToolsOptions.BackupPath";
                    },
                    50100, L"Tessera", L"Option refused: ToolsOptions.BackupPath", 1},
        FailureCase{"JobRunAndThenTheTMWillNotClose",
                    [](auto& fx) {
                        fx.UseEmptyTM();
                        fx.objects->script.executeFailure = FakeFailure{};
                        fx.objects->script.closeFails = true;
                    },
                    40002, L"", L"Error during analysis.", 2},
        FailureCase{"ParseLogFile", [](auto& fx) { fx.objects->script.csvLogFile.reset(); }, 40005,
                    L"", L"Unable to find log file.", 1}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(AnalyseTest, WhenTesseraCannotBeStartedTheSessionStaysAndALaterAnalyseLeavesItRunning) {
    objects->tesseraMissing = true;
    const auto error = RaisedBy([&] { ba.Analyse(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 40001);
    EXPECT_EQ(error->source(), L"");
    EXPECT_EQ(platform->tempFileRequests, 0);

    objects->tesseraMissing = false;
    EXPECT_TRUE(ba.Analyse());
    EXPECT_FALSE(TM().open);
    EXPECT_FALSE(App()->quit) << "the held session started it, not this Analyse";
    EXPECT_TRUE(ba.CloseTessera());
    EXPECT_TRUE(App()->quit);
}

TEST_F(AnalyseTest, AfterStartTesseraAnalysesShareOneTesseraAndEachOpensAndClosesTheTM) {
    EXPECT_TRUE(ba.CloseTessera()) << "with no session";
    EXPECT_TRUE(ba.StartTessera());
    EXPECT_FALSE(ba.StartTessera()) << "the session is there already";
    EXPECT_TRUE(ba.Analyse());
    EXPECT_TRUE(ba.Analyse());

    EXPECT_EQ(objects->Calls("Objects.CreateTessera"), 1);
    EXPECT_EQ(objects->Calls("TM.Open"), 2);
    EXPECT_EQ(objects->Calls("TM.Close"), 2);
    EXPECT_EQ(objects->Calls("Application.Quit"), 0);
    EXPECT_TRUE(ba.CloseTessera());
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
}

TEST_F(AnalyseTest, CopiesThePropertiesChangedSinceTheFirstReadOfTheSession) {
    auto session = ba.get_BATessera();
    ba.put_TranslationMemoryUserName(L"bert");
    ba.put_TranslationMemoryPassword(L"pw");

    EXPECT_TRUE(ba.Analyse());
    EXPECT_EQ(objects->Calls("TM.Open(" + (folder.path() / "main.tmv").string() + ",bert,pw,w)"),
              1);
}

TEST_F(AnalyseTest, AnAnalysisThatFailsBeforeItsLogIsReadKeepsThePreviousResultTexts) {
    ASSERT_TRUE(ba.Analyse());
    const std::wstring csv = ba.GetCsvLogFileContent();
    const std::wstring rows = ba.GetCsvLogFileContentWithoutHeader();
    ASSERT_FALSE(csv.empty());

    objects->script.csvLogContent = kLabels + "\r\n" + kColumns + "\r\n" + RowB() + "\r\n";
    objects->script.executeFailure = FakeFailure{};
    EXPECT_EQ(ErrorNumber([&] { ba.Analyse(); }), 40002);
    EXPECT_EQ(ba.GetCsvLogFileContent(), csv);
    EXPECT_EQ(ba.GetCsvLogFileContentWithoutHeader(), rows);
}

// --- Options and the temporary TM ---------------------------------------------------------

struct OptionsCase {
    const char* name;
    bool read, initialised;
    bool settingsFiles;  // real HTML and SGML settings files instead of empty names
    std::size_t writes;
};

class Options : public AnalyseTest, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(Options, AreWrittenBeforeTheRunOnlyWhenInitialisedWithTheBatchsSettingsFiles) {
    const auto& c = GetParam();
    std::wstring html, sgml;
    if (c.settingsFiles) {
        html = FromNarrow(folder.Write("page.ini", "h").string());
        sgml = FromNarrow(folder.Write("doc.ini", "s").string());
        ba.put_HTMLSettingsFileName(html);
        ba.put_SGMLSettingsFileName(sgml);
    }
    std::shared_ptr<clsBATesseraSettings> settings;
    if (c.read) {
        settings = ba.get_BATesserasettings();
        settings->put_WasInitialised(c.initialised);
        settings->put_OptionsToolsHtmlSettingsFile(L"client.ini");
        settings->put_OptionsToolsSgmlSettingsFile(L"client.sgm");
    }
    ba.StartTessera();  // keeps the session to look at afterwards
    std::optional<std::size_t> writesWhenRunning;
    auto during = WhileTheJobRuns([&] { writesWhenRunning = App()->optionWrites.size(); });

    EXPECT_TRUE(ba.Analyse());

    EXPECT_EQ(writesWhenRunning, c.writes);
    EXPECT_EQ(App()->optionWrites.size(), c.writes);
    EXPECT_EQ(ba.get_BATessera()->get_BATesserasettings(), c.initialised ? settings : nullptr);
    if (c.initialised) {
        EXPECT_EQ(settings->get_OptionsToolsHtmlSettingsFile(), html);
        EXPECT_EQ(settings->get_OptionsToolsSgmlSettingsFile(), sgml);
        EXPECT_EQ(App()->ToolsOptionsStore->get_HtmlSettingsFile(), html);
        EXPECT_EQ(App()->ToolsOptionsStore->get_SgmlSettingsFile(), sgml);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Analyse, Options,
    ::testing::Values(OptionsCase{"NeverRead", false, false, false, 0},
                      OptionsCase{"ReadButNotInitialised", true, false, false, 0},
                      OptionsCase{"InitialisedWithEmptyNames", true, true, false, 48},
                      OptionsCase{"InitialisedWithSettingsFiles", true, true, true, 48}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(AnalyseTest, ATemporaryTMIsMadeInLanguagesTesseraAcceptsAndDeletedAfterTheRun) {
    UseEmptyTM();
    ba.put_TranslationMemory(L"");  // neither a TM nor a user is needed
    ba.put_TranslationMemoryUserName(L"");
    ba.put_TranslationMemoryTargetLanguageId(1036);
    objects->script.firstCreateTMFails = true;
    std::set<std::string> duringRun;
    auto during = WhileTheJobRuns([&] { duringRun = TempFiles(); });

    EXPECT_TRUE(ba.Analyse());

    EXPECT_THAT(duringRun, Contains(EndsWith(".tmv")));
    EXPECT_THAT(TempFiles(), IsEmpty());
    EXPECT_TRUE(
        InOrder(Calls(), {"Application.CreateTM(1031,1036)", "Application.CreateTM(1033,2057)",
                          "TM.TargetLanguage=2057", "TM.SourceLanguage", "TM.ExecuteJobFile"}));
    EXPECT_EQ(objects->Calls("TM.Open"), 0);
}

// --- Client calls during a run ------------------------------------------------------------

// Nothing stops a client from calling back into the object from the event.
struct ClientCallCase {
    const char* name;
    bool createEmptyTM;
    std::function<void(BatchAnalyse&)> call;
};

class ClientCallDuringRun : public AnalyseTest,
                            public ::testing::WithParamInterface<ClientCallCase> {};

TEST_P(ClientCallDuringRun, StillFinishesTheRunAndCleansUpWhatItMade) {
    UseEmptyTM(GetParam().createEmptyTM);
    const auto files = ba.get_Files();
    auto during = WhileTheJobRuns([&] { GetParam().call(ba); });

    EXPECT_TRUE(ba.Analyse());
    EXPECT_TRUE(files->Item(2)->get_FileProcessed());
    EXPECT_FALSE(TM().open);
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
    EXPECT_THAT(TempFiles(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Analyse, ClientCallDuringRun,
    ::testing::Values(
        ClientCallCase{"CloseTessera", false, [](BatchAnalyse& b) { b.CloseTessera(); }},
        ClientCallCase{"CloseTesseraWithEmptyTM", true, [](BatchAnalyse& b) { b.CloseTessera(); }},
        ClientCallCase{"PutNoFiles", false, [](BatchAnalyse& b) { b.putref_Files(nullptr); }},
        ClientCallCase{
            "PutAnotherSession", true,
            [](BatchAnalyse& b) { b.putref_BATessera(std::make_shared<clsBATessera>()); }}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(AnalyseTest, ASessionPutDuringTheRunStaysWithTheClient) {
    auto mine = std::make_shared<clsBATessera>();
    auto during = WhileTheJobRuns([&] { ba.putref_BATessera(mine); });

    EXPECT_TRUE(ba.Analyse());
    EXPECT_EQ(ba.get_BATessera(), mine);
}

class ClientCallDuringWait : public AnalyseTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ClientCallDuringWait, ThatClosesTesseraGivesAnErrorNotACrash) {
    const bool emptyTM = GetParam();
    UseEmptyTM(emptyTM);
    platform->clientCall = [&] { ba.CloseTessera(); };

    EXPECT_EQ(ErrorNumber([&] { ba.Analyse(); }), emptyTM ? 40007 : 40006);
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
    EXPECT_THAT(TempFiles(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Analyse, ClientCallDuringWait, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "EmptyTM" : "OpenTM"; });

}  // namespace
}  // namespace orv::test
