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
#include <tuple>
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

// Number, source and description of the error `work` raised; all empty when none.
std::tuple<int32_t, std::wstring, std::wstring> Raised(const std::function<void()>& work) {
    const auto e = RaisedBy(work);
    if (!e) return {};
    return {e->number(), e->source(), e->description()};
}

// A platform whose message processing delivers one client call, as a window message would.
struct PlatformWithClientCall : FakePlatform {
    void ProcessMessages() const override {
        FakePlatform::ProcessMessages();
        if (auto call = std::exchange(clientCall, nullptr)) call();
    }
    mutable std::function<void()> clientCall;
};

// A batch that passes every check (the password stays empty), two documents, and a Tessera
// that writes their CSV log file beside the log.
struct Batch {
    Batch() {
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
    std::string Path(const char* name) const { return (folder.path() / name).string(); }
    std::string RowA() const { return Path("a.rtf") + kRowA; }
    std::string RowB() const { return Path("b.rtf") + kRowB; }

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

struct AnalyseTest : ::testing::Test, Batch {};

TEST_F(AnalyseTest, ACompleteAnalysisFillsTheRecordsRelaysTheCancelAndLeavesOnlyTheLogs) {
    folder.Write("run.log", "the analysis log");
    objects->tesseraFoundFromLookUp = 0;  // never seen running: the wait gives up, not the run
    objects->script.cancelWithProcessedFiles = 7;
    std::vector<std::pair<int32_t, std::string>> cancels;  // with the call that was running
    auto subscription = ba.OnBatchAnalysisCancelledByUser.Subscribe(
        [&](int32_t processed) { cancels.emplace_back(processed, Calls().back()); });

    EXPECT_TRUE(ba.Analyse());

    EXPECT_THAT(cancels, ElementsAre(std::pair{7, std::string("TM.ExecuteJobFile")}));
    // Each document's record filled from its own row (the columns are the parser's business).
    EXPECT_TRUE(ba.get_Files()->Item(1)->get_FileProcessed());
    EXPECT_EQ(ba.get_Files()->Item(1)->get_WordsIn100Matches(), 190);
    EXPECT_TRUE(ba.get_Files()->Item(2)->get_FileProcessed());
    EXPECT_EQ(ba.get_Files()->Item(2)->get_WordsTotal(), 55);

    const std::wstring rows = FromNarrow(RowA() + "\r\n" + RowB());
    EXPECT_EQ(ba.GetCsvLogFileContentWithoutHeader(), rows);
    EXPECT_EQ(ba.GetCsvLogFileContent(), FromNarrow(kLabels + "\r\n" + kColumns + "\r\n") + rows);

    // The job file listed both documents and the log, and is gone.
    for (const auto& line :
         {"LogFile = \"" + Path("run.log") + "\"", std::string("Files = 2"),
          "File1 = \"" + Path("a.rtf") + "\"", "File2 = \"" + Path("b.rtf") + "\""})
        EXPECT_THAT(TM().jobText, HasSubstr(line + "\r\n"));
    EXPECT_THAT(TempFiles(), IsEmpty());
    EXPECT_EQ(FileNamesIn(folder.path()),
              (std::set<std::string>{"main.tmv", "run.csv", "run.log", "temp"}));

    EXPECT_TRUE(InOrder(
        Calls(), {"Objects.CreateTessera", "TM.Open(" + Path("main.tmv") + ",anna,,w)",
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
        EXPECT_EQ(Raised([&] { ba.Analyse(); }),
                  std::tuple(c.error, L"", modErrors::GetErrorMessage(c.error, L"")));
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

// A clean-up step that fails neither hides the error nor stops the steps after it.
TEST(Analyse,
     AFailingStepReachesTheCallerUnchangedAfterTheTMIsClosedTheFilesDeletedAndTesseraQuit) {
    const struct {
        const char* step;
        std::function<void(Batch&)> arrange;
        int32_t number;
        std::wstring source, description;
        int tempFilesMade;  // the job file and a temporary TM, before the failure
    } cases[] = {
        {"OpenTM",
         [](Batch& b) {
             b.objects->script.openFailure = FakeFailure{1, L"50003"};
         },
         40016, L"", L"Unknown error", 0},
        {"CreateTemporaryTM",
         [](Batch& b) {
             b.UseEmptyTM();
             b.objects->script.createTMAlwaysFails = true;
         },
         40007, L"", L"Unknown error", 1},
        {"SetUpLanguages", [](Batch& b) { b.ba.put_TranslationMemoryTargetLanguageId(2057); },
         40008, L"", L"Unknown error", 0},
        {"CreateJobFile", [](Batch& b) { b.ba.put_HTMLSettingsFileName(L"no-such-settings.ini"); },
         40003, L"", L"Unable to find file: \"no-such-settings.ini\"", 1},
        {"FilesNeverRead", [](Batch& b) { b.ba.putref_Files(nullptr); }, kErrObjectNotSet,
         kRuntimeErrorSource, L"Object variable or With block variable not set", 0},
        {"OptionWrite",
         [](Batch& b) {
             b.ba.get_BATesserasettings()->put_WasInitialised(true);
             b.objects->script.refusedOptionWrite = L"ToolsOptions.BackupPath";
         },
         50100, L"Tessera", L"Option refused: ToolsOptions.BackupPath", 1},
        {"JobRunAndThenTheTMWillNotClose",
         [](Batch& b) {
             b.UseEmptyTM();
             b.objects->script.executeFailure = FakeFailure{};
             b.objects->script.closeFails = true;
         },
         40002, L"", L"Error during analysis.", 2},
        {"JobRunAndThenClosingTheTMRunsOutOfMemory",
         [](Batch& b) {
             b.UseEmptyTM();
             b.objects->script.executeFailure = FakeFailure{};
             b.objects->script.closeRunsOutOfMemory = true;
         },
         40002, L"", L"Error during analysis.", 2},
        {"ParseLogFile", [](Batch& b) { b.objects->script.csvLogFile.reset(); }, 40005, L"",
         L"Unable to find log file.", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        Batch b;
        c.arrange(b);
        EXPECT_EQ(Raised([&] { b.ba.Analyse(); }), std::tuple(c.number, c.source, c.description));
        EXPECT_EQ(b.platform->tempFileRequests, c.tempFilesMade);
        EXPECT_THAT(b.TempFiles(), IsEmpty());
        EXPECT_EQ(b.TM().open, b.App()->script.closeFails || b.App()->script.closeRunsOutOfMemory);
        EXPECT_EQ(b.objects->Calls("Application.Quit"), 1);
        EXPECT_TRUE(b.ba.StartTessera()) << "the session this Analyse created was not let go";
    }
}

TEST_F(AnalyseTest, WhenTesseraCannotBeStartedTheSessionStaysAndALaterAnalyseLeavesItRunning) {
    objects->tesseraMissing = true;
    EXPECT_EQ(Raised([&] { ba.Analyse(); }), std::tuple(40001, L"", L"Unable to open Tessera"));
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
    EXPECT_EQ(objects->Calls("TM.Open(" + Path("main.tmv") + ",bert,pw,w)"), 1);
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

TEST(Analyse, OptionsAreWrittenBeforeTheRunOnlyWhenInitialisedWithTheBatchsSettingsFiles) {
    const struct {
        const char* name;
        bool read, initialised;
        bool settingsFiles;  // real HTML and SGML settings files instead of empty names
        std::size_t writes;
    } cases[] = {
        {"never read", false, false, false, 0},
        {"read but not initialised", true, false, false, 0},
        {"initialised with empty names", true, true, false, 48},
        {"initialised with settings files", true, true, true, 48},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Batch b;
        std::wstring html, sgml;
        if (c.settingsFiles) {
            html = FromNarrow(b.folder.Write("page.ini", "h").string());
            sgml = FromNarrow(b.folder.Write("doc.ini", "s").string());
            b.ba.put_HTMLSettingsFileName(html);
            b.ba.put_SGMLSettingsFileName(sgml);
        }
        std::shared_ptr<clsBATesseraSettings> settings;
        if (c.read) {
            settings = b.ba.get_BATesserasettings();
            settings->put_WasInitialised(c.initialised);
            settings->put_OptionsToolsHtmlSettingsFile(L"client.ini");
            settings->put_OptionsToolsSgmlSettingsFile(L"client.sgm");
        }
        b.ba.StartTessera();  // keeps the session to look at afterwards
        std::optional<std::size_t> writesWhenRunning;
        auto during = b.WhileTheJobRuns([&] { writesWhenRunning = b.App()->optionWrites.size(); });

        EXPECT_TRUE(b.ba.Analyse());
        EXPECT_EQ(writesWhenRunning, c.writes);
        EXPECT_EQ(b.App()->optionWrites.size(), c.writes);
        EXPECT_EQ(b.ba.get_BATessera()->get_BATesserasettings(),
                  c.initialised ? settings : nullptr);
        if (!c.initialised) continue;
        EXPECT_EQ(settings->get_OptionsToolsHtmlSettingsFile(), html);
        EXPECT_EQ(settings->get_OptionsToolsSgmlSettingsFile(), sgml);
        EXPECT_EQ(b.App()->ToolsOptionsStore->get_HtmlSettingsFile(), html);
        EXPECT_EQ(b.App()->ToolsOptionsStore->get_SgmlSettingsFile(), sgml);
    }
}

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

// Nothing stops a client from calling back into the object from the event.
TEST(Analyse, AClientCallDuringTheRunLetsItFinishAndCleanUpAndASessionPutStaysWithTheClient) {
    const auto mine = std::make_shared<clsBATessera>();
    const struct {
        const char* call;
        bool createEmptyTM;
        std::function<void(BatchAnalyse&)> make;
    } cases[] = {
        {"CloseTessera", false, [](BatchAnalyse& b) { b.CloseTessera(); }},
        {"CloseTessera with an empty TM", true, [](BatchAnalyse& b) { b.CloseTessera(); }},
        {"put no files", false, [](BatchAnalyse& b) { b.putref_Files(nullptr); }},
        {"put another session", true, [&](BatchAnalyse& b) { b.putref_BATessera(mine); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        Batch b;
        b.UseEmptyTM(c.createEmptyTM);
        const auto files = b.ba.get_Files();
        auto during = b.WhileTheJobRuns([&] { c.make(b.ba); });

        EXPECT_TRUE(b.ba.Analyse());
        EXPECT_TRUE(files->Item(2)->get_FileProcessed());
        EXPECT_FALSE(b.TM().open);
        EXPECT_EQ(b.objects->Calls("Application.Quit"), 1);
        EXPECT_THAT(b.TempFiles(), IsEmpty());
        if (c.call == std::string("put another session")) {
            EXPECT_EQ(b.ba.get_BATessera(), mine) << "it stays with the client";
        }
    }
}

TEST(Analyse, AClientCallDuringTheWaitThatClosesTesseraGivesAnErrorNotACrash) {
    for (bool emptyTM : {false, true}) {
        SCOPED_TRACE(emptyTM ? "empty TM" : "open TM");
        Batch b;
        b.UseEmptyTM(emptyTM);
        b.platform->clientCall = [&] { b.ba.CloseTessera(); };

        EXPECT_EQ(ErrorNumber([&] { b.ba.Analyse(); }), emptyTM ? 40007 : 40006);
        EXPECT_EQ(b.objects->Calls("Application.Quit"), 1);
        EXPECT_THAT(b.TempFiles(), IsEmpty());
    }
}

}  // namespace
}  // namespace orv::test
