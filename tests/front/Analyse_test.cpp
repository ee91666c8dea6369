// Whole analyses against the scripted Tessera, on real files in a real temporary folder: what
// each failing step leaves behind, the order of the checks, who starts and quits Tessera,
// and what reaches the client.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
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

template <class Work>
std::optional<AutomationError> RaisedBy(Work&& work) {
    try {
        work();
    } catch (const AutomationError& error) {
        return error;
    }
    return std::nullopt;
}

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

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
    AnalyseTest() {
        fs::create_directory(folder.path() / "temp");
        platform->environment[L"TEMP"] = folder.wpath("temp");
    }

    // A batch that passes every check (the password stays empty), two documents, and a
    // Tessera that writes their CSV log file beside the log.
    void Ready() {
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
    std::vector<std::string> TempFiles() const { return Listing(folder.path() / "temp"); }

    TempFolder folder;
    std::shared_ptr<PlatformWithClientCall> platform = std::make_shared<PlatformWithClientCall>();
    std::shared_ptr<FakeObjectServices> objects = std::make_shared<FakeObjectServices>();
    BatchAnalyse ba{ServiceSet(platform, DefaultFileSystem(), objects)};
};

TEST_F(AnalyseTest, ACompleteAnalysisFillsTheRecordsAndLeavesOnlyTheLogsBehind) {
    Ready();
    folder.Write("run.log", "the analysis log");

    EXPECT_TRUE(ba.Analyse());

    auto a = ba.get_Files()->Item(1);
    EXPECT_TRUE(a->get_FileProcessed());
    EXPECT_EQ(a->get_TaggingErrors(), 0);
    EXPECT_DOUBLE_EQ(a->get_CharsPerWord(), 5.5);
    EXPECT_EQ(a->get_SegmentsInRepetitions(), 2);
    EXPECT_EQ(a->get_WordsIn100Matches(), 190);
    EXPECT_EQ(a->get_PercentIn100Matches(), 95);
    EXPECT_EQ(a->get_CharactersTotal(), 1100);
    EXPECT_EQ(a->get_SegmentsIn95Matches(), -1);  // a band the log does not have
    auto b = ba.get_Files()->Item(2);
    EXPECT_TRUE(b->get_FileProcessed());
    EXPECT_EQ(b->get_TaggingErrors(), 1);
    EXPECT_DOUBLE_EQ(b->get_CharsPerWord(), 4.25);
    EXPECT_EQ(b->get_WordsInNoMatches(), 40);
    EXPECT_EQ(b->get_PercentInNoMatches(), 73);
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

    EXPECT_TRUE(InOrder(
        Calls(),
        {"Objects.CreateTessera", "TM.Open(" + (folder.path() / "main.tmv").string() + ",anna,,w)",
         "TM.TargetLanguage=1033", "TM.ExecuteJobFile", "TM.Close", "Application.Quit"}));
    EXPECT_FALSE(TM().open);
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
    EXPECT_TRUE(fs::exists(folder.path() / "run.log"));
    EXPECT_TRUE(fs::exists(folder.path() / "run.csv"));
}

// --- Validation ---------------------------------------------------------------------------

enum class TmPath { Empty, ExistingFile, Folder, Missing };

struct ValidationCase {
    const char* name;
    bool createEmptyTM;
    TmPath tm;
    std::wstring userName;
    int32_t source;
    int32_t target;
    int32_t expected;  // 0: the checks pass and the analysis runs
};

class Validation : public AnalyseTest, public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(Validation, StopsAtTheFirstGapBeforeTesseraIsStarted) {
    const auto& c = GetParam();
    Ready();
    fs::create_directory(folder.path() / "tmfolder");
    const std::wstring paths[] = {L"", folder.wpath("main.tmv"), folder.wpath("tmfolder"),
                                  folder.wpath("absent.tmv")};
    ba.put_CreateEmptyTM(c.createEmptyTM);
    ba.put_TranslationMemory(paths[static_cast<int>(c.tm)]);
    ba.put_TranslationMemoryUserName(c.userName);
    ba.put_TranslationMemorySourceLanguageId(c.source);
    ba.put_TranslationMemoryTargetLanguageId(c.target);

    auto error = RaisedBy([&] { ba.Analyse(); });
    if (c.expected == 0) {
        EXPECT_FALSE(error) << ToNarrow(error->description());
        return;
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), c.expected);
    EXPECT_EQ(error->source(), L"");
    EXPECT_EQ(error->description(), modErrors::GetErrorMessage(c.expected, L""));
    EXPECT_THAT(Calls(), IsEmpty());
    EXPECT_EQ(platform->tempFileRequests, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Analyse, Validation,
    ::testing::Values(
        ValidationCase{"EmptyTMWithoutSource", true, TmPath::Empty, L"", 0, 0, 40011},
        ValidationCase{"EmptyTMWithoutTarget", true, TmPath::Empty, L"", 1031, 0, 40012},
        ValidationCase{"EmptyTMIgnoresPathAndUser", true, TmPath::Missing, L"", 1031, 1033, 0},
        ValidationCase{"NoTMBeforeNoUser", false, TmPath::Empty, L"", 0, 0, 40013},
        ValidationCase{"MissingTMBeforeNoUser", false, TmPath::Missing, L"", 0, 0, 40015},
        ValidationCase{"FolderIsNoTM", false, TmPath::Folder, L"anna", 0, 1033, 40015},
        ValidationCase{"NoUser", false, TmPath::ExistingFile, L"", 0, 0, 40014},
        ValidationCase{"NoTarget", false, TmPath::ExistingFile, L"anna", 0, 0, 40012},
        ValidationCase{"BlankUserAndEmptyPassword", false, TmPath::ExistingFile, L" ", 0, 1033, 0}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(AnalyseTest, AFailedCheckClosesTheTMOfASessionHeldBeforeAndLeavesTesseraRunning) {
    Ready();
    EXPECT_TRUE(ba.StartTessera());
    TM().Open(L"other.tmv", L"u", L"", L"w");
    ba.put_TranslationMemoryUserName(L"");

    EXPECT_EQ(RaisedBy([&] { ba.Analyse(); })->number(), 40014);
    EXPECT_FALSE(TM().open);
    EXPECT_FALSE(App()->quit);
}

// --- Failing steps and their clean-up -----------------------------------------------------

struct FailureCase {
    const char* name;
    std::function<void(AnalyseTest&, BatchAnalyse&, FakeTesseraScript&)> arrange;
    int32_t number;
    std::wstring source;
    std::function<std::wstring(const TempFolder&)> description;
    int tempFilesMade;  // the job file and a temporary TM, before the failure
};

std::function<std::wstring(const TempFolder&)> Text(std::wstring text) {
    return [text](const TempFolder&) { return text; };
}

class FailingStep : public AnalyseTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailingStep, ReachesTheCallerUnchangedAfterTheCleanUp) {
    const auto& c = GetParam();
    Ready();
    c.arrange(*this, ba, objects->script);

    auto error = RaisedBy([&] { ba.Analyse(); });

    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), c.number);
    EXPECT_EQ(error->source(), c.source);
    EXPECT_EQ(error->description(), c.description(folder));
    EXPECT_EQ(platform->tempFileRequests, c.tempFilesMade);
    EXPECT_THAT(TempFiles(), IsEmpty());  // job file and temporary TM deleted
    EXPECT_FALSE(TM().open);
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
    EXPECT_TRUE(ba.StartTessera()) << "the session this Analyse created was not let go";
}

INSTANTIATE_TEST_SUITE_P(
    Analyse, FailingStep,
    ::testing::Values(
        FailureCase{"TMRefusesToOpen", [](auto&, auto&, auto& s) { s.openFailure = FakeFailure{}; },
                    40006, L"", Text(L"Unknown error"), 0},
        FailureCase{"WrongPassword50003",
                    [](auto&, auto&, auto& s) {
                        s.openFailure = FakeFailure{1, L"Error 50003: bad password"};
                    },
                    40016, L"", Text(L"Unknown error"), 0},
        FailureCase{"WrongPassword50000",
                    [](auto&, auto&, auto& s) {
                        s.openFailure = FakeFailure{1, L"50000"};
                    },
                    40016, L"", Text(L"Unknown error"), 0},
        FailureCase{"TemporaryTMNotCreated",
                    [](auto&, auto& ba, auto& s) {
                        ba.put_CreateEmptyTM(true);
                        ba.put_TranslationMemorySourceLanguageId(1031);
                        s.createTMAlwaysFails = true;
                    },
                    40007, L"", Text(L"Unknown error"), 1},
        FailureCase{"TargetLanguageRefused",
                    [](auto&, auto&, auto& s) { s.refusedTargetLanguage = 1033; }, 40008, L"",
                    Text(L"Unknown error"), 0},
        FailureCase{"TargetLanguageNotInTM",
                    [](auto&, auto& ba, auto&) { ba.put_TranslationMemoryTargetLanguageId(2057); },
                    40008, L"", Text(L"Unknown error"), 0},
        FailureCase{"SourceLanguageDiffers",
                    [](auto&, auto& ba, auto&) { ba.put_TranslationMemorySourceLanguageId(1036); },
                    40009, L"", Text(L"Unknown error"), 0},
        FailureCase{"SettingsFileMissing",
                    [](auto& fixture, auto& ba, auto&) {
                        ba.put_HTMLSettingsFileName(fixture.folder.wpath("missing.ini"));
                    },
                    40003, L"",
                    [](const TempFolder& f) {
                        return L"Unable to find file: \"" + f.wpath("missing.ini") + L"\"";
                    },
                    1},
        FailureCase{"LogFolderMissing",
                    [](auto& fixture, auto& ba, auto&) {
                        ba.put_LogFileName(fixture.folder.wpath("nowhere/run.log"));
                    },
                    40004, L"",
                    [](const TempFolder& f) {
                        return L"Unable to find directory: \"" + f.wpath("nowhere") + L"\"";
                    },
                    1},
        FailureCase{"JobRunFails", [](auto&, auto&, auto& s) { s.executeFailure = FakeFailure{}; },
                    40002, L"", Text(L"Error during analysis."), 1},
        FailureCase{"OptionWriteRefused",
                    [](auto&, auto& ba, auto& s) {
                        ba.get_BATesserasettings()->put_WasInitialised(true);
                        s.refusedOptionWrite = L"ToolsOptions.BackupPath";
                    },
                    50100, L"Tessera", Text(L"Option refused: ToolsOptions.BackupPath"), 1},
        FailureCase{"NoCsvLogFile", [](auto&, auto&, auto& s) { s.csvLogFile.reset(); }, 40005, L"",
                    Text(L"Unable to find log file."), 1},
        FailureCase{"FilesNeverRead", [](auto&, auto& ba, auto&) { ba.putref_Files(nullptr); },
                    kErrObjectNotSet, kRuntimeErrorSource,
                    Text(L"Object variable or With block variable not set"), 0}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(AnalyseTest, WhenTesseraCannotBeStartedTheSessionStaysAndALaterAnalyseLeavesItRunning) {
    Ready();
    objects->tesseraMissing = true;
    auto error = RaisedBy([&] { ba.Analyse(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 40001);
    EXPECT_EQ(error->source(), L"");
    EXPECT_EQ(error->description(), L"Unable to open Tessera");
    EXPECT_EQ(platform->tempFileRequests, 0);

    objects->tesseraMissing = false;
    EXPECT_TRUE(ba.Analyse());
    EXPECT_EQ(objects->Calls("Objects.CreateTessera"), 2);
    EXPECT_FALSE(TM().open);
    EXPECT_FALSE(App()->quit) << "the held session started it, not this Analyse";
    EXPECT_TRUE(ba.CloseTessera());
    EXPECT_TRUE(App()->quit);
}

TEST_F(AnalyseTest, AfterStartTesseraAnalysesShareOneTesseraAndEachOpensAndClosesTheTM) {
    Ready();
    EXPECT_TRUE(ba.StartTessera());
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
    Ready();
    auto session = ba.get_BATessera();
    ba.put_TranslationMemoryUserName(L"bert");
    ba.put_TranslationMemoryPassword(L"pw");

    EXPECT_TRUE(ba.Analyse());
    EXPECT_EQ(session->get_TranslationMemoryUserName(), L"bert");
    EXPECT_TRUE(
        InOrder(Calls(), {"TM.Open(" + (folder.path() / "main.tmv").string() + ",bert,pw,w)"}));
}

// --- What outlasts a failed analysis ------------------------------------------------------

class LaterFailure : public AnalyseTest,
                     public ::testing::WithParamInterface<std::pair<const char*, int32_t>> {};

TEST_P(LaterFailure, KeepsTheResultTextsOfThePreviousAnalysis) {
    Ready();
    ASSERT_TRUE(ba.Analyse());
    const std::wstring csv = ba.GetCsvLogFileContent();
    const std::wstring rows = ba.GetCsvLogFileContentWithoutHeader();
    ASSERT_FALSE(csv.empty());

    objects->script.csvLogContent = kLabels + "\r\n" + kColumns + "\r\n" + RowB() + "\r\n";
    switch (GetParam().second) {
        case 40003:
            ba.put_SGMLSettingsFileName(folder.wpath("gone.ini"));
            break;
        case 40002:
            objects->script.executeFailure = FakeFailure{};
            break;
        case 40006:
            objects->script.openFailure = FakeFailure{};
            break;
    }
    EXPECT_EQ(RaisedBy([&] { ba.Analyse(); })->number(), GetParam().second);
    EXPECT_EQ(ba.GetCsvLogFileContent(), csv);
    EXPECT_EQ(ba.GetCsvLogFileContentWithoutHeader(), rows);
}

INSTANTIATE_TEST_SUITE_P(Analyse, LaterFailure,
                         ::testing::Values(std::pair{"JobFile", 40003}, std::pair{"Run", 40002},
                                           std::pair{"OpenTM", 40006}),
                         [](const auto& test) { return std::string(test.param.first); });

// --- Options, the temporary TM, waits -----------------------------------------------------

struct OptionsCase {
    const char* name;
    bool read;
    bool initialised;
    bool settingsFiles;  // real HTML and SGML settings files instead of empty names
    std::size_t writes;
};

class Options : public AnalyseTest, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(Options, AreWrittenBeforeTheRunOnlyWhenInitialisedWithTheBatchsSettingsFiles) {
    const auto& c = GetParam();
    Ready();
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
    objects->application()->script.cancelWithProcessedFiles = 0;
    auto subscription = ba.OnBatchAnalysisCancelledByUser.Subscribe(
        [&](int32_t) { writesWhenRunning = App()->optionWrites.size(); });

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

class TemporaryTM : public AnalyseTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TemporaryTM, IsMadeInTheLanguagesTesseraAcceptsAndDeletedAfterTheRun) {
    const bool refused = GetParam();
    Ready();
    ba.put_CreateEmptyTM(true);
    ba.put_TranslationMemorySourceLanguageId(1031);
    ba.put_TranslationMemoryTargetLanguageId(1036);
    objects->script.firstCreateTMFails = refused;
    objects->script.cancelWithProcessedFiles = 0;
    std::vector<std::string> duringRun;
    auto subscription =
        ba.OnBatchAnalysisCancelledByUser.Subscribe([&](int32_t) { duringRun = TempFiles(); });

    EXPECT_TRUE(ba.Analyse());

    EXPECT_THAT(duringRun, Contains(EndsWith(".tmv")));
    EXPECT_THAT(TempFiles(), IsEmpty());
    if (refused) {
        EXPECT_TRUE(
            InOrder(Calls(), {"Application.CreateTM(1031,1036)", "Application.CreateTM(1033,2057)",
                              "TM.TargetLanguage=2057", "TM.SourceLanguage", "TM.ExecuteJobFile"}));
    } else {
        EXPECT_EQ(objects->Calls("Application.CreateTM"), 1);
        EXPECT_TRUE(InOrder(Calls(), {"Application.CreateTM(1031,1036)", "TM.TargetLanguage=1036",
                                      "TM.SourceLanguage", "TM.ExecuteJobFile"}));
    }
    EXPECT_EQ(objects->Calls("TM.Open"), 0);
}

INSTANTIATE_TEST_SUITE_P(Analyse, TemporaryTM, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Refused" : "Accepted"; });

class WaitForTessera : public AnalyseTest,
                       public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(WaitForTessera, RetriesWithoutRealTimePassingAndNeverFails) {
    const auto [foundFromLookUp, sleeps] = GetParam();
    Ready();
    objects->tesseraFoundFromLookUp = foundFromLookUp;

    EXPECT_TRUE(ba.Analyse());
    EXPECT_EQ(platform->sleeps, sleeps);
    EXPECT_EQ(platform->sleptMilliseconds, 1000u * sleeps);
    EXPECT_EQ(objects->tesseraLookUps, sleeps + 1);
    EXPECT_EQ(platform->windowClassAsked, L"Tessapp2Class");
    EXPECT_EQ(platform->foregroundWindows.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Analyse, WaitForTessera,
                         ::testing::Values(std::pair{1, 0}, std::pair{3, 2},
                                           std::pair{0, 25}));  // 0: never registers

// --- The cancel event during a run --------------------------------------------------------

TEST_F(AnalyseTest, TheCancelEventReachesTheClientUnchangedWhileTheJobRuns) {
    Ready();
    objects->script.cancelWithProcessedFiles = 7;
    std::vector<int32_t> received;
    std::string lastCall;
    auto subscription = ba.OnBatchAnalysisCancelledByUser.Subscribe([&](int32_t processed) {
        received.push_back(processed);
        lastCall = Calls().back();
    });

    EXPECT_TRUE(ba.Analyse());
    EXPECT_THAT(received, ElementsAre(7));
    EXPECT_EQ(lastCall, "TM.ExecuteJobFile");
}

// Nothing stops a client from calling back into the object from the event.
struct ClientCallCase {
    const char* name;
    bool createEmptyTM;
    std::function<void(BatchAnalyse&)> call;
};

class ClientCallDuringRun : public AnalyseTest,
                            public ::testing::WithParamInterface<ClientCallCase> {};

TEST_P(ClientCallDuringRun, StillFinishesTheRunAndCleansUpWhatItMade) {
    Ready();
    ba.put_CreateEmptyTM(GetParam().createEmptyTM);
    ba.put_TranslationMemorySourceLanguageId(1031);
    const auto files = ba.get_Files();
    objects->script.cancelWithProcessedFiles = 1;
    auto subscription =
        ba.OnBatchAnalysisCancelledByUser.Subscribe([&](int32_t) { GetParam().call(ba); });

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
    Ready();
    objects->script.cancelWithProcessedFiles = 1;
    auto mine = std::make_shared<clsBATessera>();
    auto subscription =
        ba.OnBatchAnalysisCancelledByUser.Subscribe([&](int32_t) { ba.putref_BATessera(mine); });

    EXPECT_TRUE(ba.Analyse());
    EXPECT_EQ(ba.get_BATessera(), mine);
}

class ClientCallDuringWait : public AnalyseTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ClientCallDuringWait, ThatClosesTesseraGivesAnErrorNotACrash) {
    const bool emptyTM = GetParam();
    Ready();
    ba.put_CreateEmptyTM(emptyTM);
    ba.put_TranslationMemorySourceLanguageId(1031);
    platform->clientCall = [&] { ba.CloseTessera(); };

    auto error = RaisedBy([&] { ba.Analyse(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), emptyTM ? 40007 : 40006);
    EXPECT_EQ(objects->Calls("Application.Quit"), 1);
    EXPECT_THAT(TempFiles(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Analyse, ClientCallDuringWait, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "EmptyTM" : "OpenTM"; });

}  // namespace
}  // namespace orv::test
