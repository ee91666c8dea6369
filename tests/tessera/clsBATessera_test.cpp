// The session with Tessera: starting and closing it, Word in the background, the cancel event,
// and the steps of a run that decide what an analysis reports (the TM, the temporary TM, the
// languages). The whole run, its clean-up, the options and the wait for Tessera are tested
// through Analyse.
#include "tessera/clsBATessera.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/NarrowText.h"
#include "platform/StdFileSystem.h"
#include "support/FakePlatform.h"
#include "support/FakeTessera.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

struct Session {
    explicit Session(FakeTesseraScript script = {})
        : objects(std::make_shared<FakeObjectServices>(std::move(script))),
          tessera(std::make_unique<clsBATessera>(
              ServiceSet(platform, std::make_shared<StdFileSystem>(), objects))) {}

    FakeTesseraApplication& app() const { return *objects->application(); }
    FakeTesseraTM& tm() const { return static_cast<FakeTesseraTM&>(*app().get_CurrentTM()); }

    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    std::shared_ptr<FakeObjectServices> objects;
    std::unique_ptr<clsBATessera> tessera;
};

// Makes `folder` the current directory, where a relative file pattern would act.
struct InCurrentDirectory {
    explicit InCurrentDirectory(const fs::path& folder) { fs::current_path(folder); }
    ~InCurrentDirectory() { fs::current_path(previous); }
    const fs::path previous = fs::current_path();
};

TEST(clsBATessera, StartTesseraCreatesTesseraOnceAndRaises40001WhenItCannot) {
    Session s;
    s.tessera->put_LoadWordObject(true);
    EXPECT_TRUE(s.tessera->StartTessera());
    EXPECT_FALSE(s.tessera->StartTessera());
    EXPECT_EQ(s.objects->Calls("Objects.CreateTessera"), 1);
    EXPECT_EQ(s.objects->wordLookUps, 1);

    for (bool throws : {false, true}) {
        Session failing;
        (throws ? failing.objects->tesseraCreateThrows : failing.objects->tesseraMissing) = true;
        failing.tessera->put_LoadWordObject(true);
        const auto error = RaisedBy([&] { failing.tessera->StartTessera(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), 40001);
        EXPECT_EQ(error->description(), L"Unable to open Tessera");
        EXPECT_EQ(failing.objects->wordLookUps, 0) << "Word is not started without Tessera";
    }
}

TEST(clsBATessera, CloseTesseraQuitsTesseraAndItsWordEvenWhenTheTMRefusesToClose) {
    FakeTesseraScript script;
    script.closeFails = true;
    Session s(script);
    s.tessera->put_LoadWordObject(true);
    s.tessera->StartTessera();
    s.tessera->OpenTM();
    s.objects->log->clear();
    EXPECT_TRUE(s.tessera->CloseTessera());
    EXPECT_EQ(*s.objects->log,
              (std::vector<std::string>{"TM.Close", "Application.Quit", "Word.Quit"}));
    EXPECT_EQ(s.tessera->application(), nullptr);
    EXPECT_FALSE(s.tessera->CloseTessera()) << "nothing left to close";
}

// Word's start-up also runs the wait for an application: up to 25 pauses, where a look-up
// that fails counts as "not running yet".
TEST(clsBATessera, WordIsStartedOnlyWhenAskedAndQuitOnlyWhenThisSessionStartedIt) {
    struct Case {
        const char* scenario;
        bool load, running, creatable;
        int foundFromLookUp, failingLookUps, lookUps, creates, sleeps, quits;
    };
    const Case cases[] = {
        {"not asked for", false, false, true, 0, 0, 0, 0, 0, 0},
        {"already running", true, true, true, 0, 0, 1, 0, 0, 0},
        {"created", true, false, true, 0, 0, 1, 1, 0, 1},
        {"found by the wait", true, false, false, 4, 2, 4, 1, 2, 1},
        {"never appears", true, false, false, 0, 0, 27, 1, 25, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        Session s;
        s.tessera->put_LoadWordObject(c.load);
        if (c.running) s.objects->runningWord = std::make_shared<FakeWord>(s.objects->log);
        s.objects->wordCreatable = c.creatable;
        s.objects->wordFoundFromLookUp = c.foundFromLookUp;
        s.objects->failingLookUps = c.failingLookUps;
        s.tessera->StartTessera();
        EXPECT_EQ(s.objects->wordLookUps, c.lookUps);
        EXPECT_EQ(s.objects->Calls("Objects.CreateWord"), c.creates);
        EXPECT_EQ(s.platform->sleptMilliseconds, 1000u * c.sleeps) << "and no real time passed";
        s.tessera->CloseTessera();
        EXPECT_EQ(s.objects->Calls("Word.Quit"), c.quits);
    }
}

TEST(clsBATessera, TheCancelEventStopsWhenTheSessionLetsGoOfTesseraOrDies) {
    for (bool destroySession : {false, true}) {
        Session s;
        int received = 0;
        auto subscription =
            s.tessera->OnBatchCancelledByUser.Subscribe([&](int32_t) { ++received; });
        s.tessera->StartTessera();
        if (destroySession)
            s.tessera.reset();
        else
            s.tessera->CloseTessera();
        s.app().OnBatchCancelledByUser.Raise(3);
        EXPECT_EQ(received, 0);
        EXPECT_EQ(s.app().OnBatchCancelledByUser.SubscriberCount(), 0u);
    }
}

TEST(clsBATessera, ASubscriberMayCloseTesseraWhileTheJobRuns) {
    FakeTesseraScript script;
    script.cancelWithProcessedFiles = 1;
    Session s(script);
    s.tessera->StartTessera();
    s.objects->applications.clear();  // the session holds the only reference
    auto subscription =
        s.tessera->OnBatchCancelledByUser.Subscribe([&](int32_t) { s.tessera->CloseTessera(); });
    EXPECT_TRUE(s.tessera->RunJob(L"job.txt"));
    EXPECT_EQ(s.tessera->application(), nullptr);
    EXPECT_EQ(s.objects->Calls("Application.Quit"), 1);
}

TEST(clsBATessera, OpenTMOpensForWritingAndTellsAWrongPasswordFromOtherFailures) {
    struct Case {
        const char* scenario;
        bool started;
        std::optional<std::wstring> failure;
        int32_t error;
    };
    const Case cases[] = {
        {"opened", true, std::nullopt, 0},
        {"password (50003)", true, L"Error 50003: access denied", 40016},
        {"password (50000)", true, L"50000", 40016},
        {"other failure", true, L"Error 50001: TM is locked", 40006},
        {"no Tessera", false, std::nullopt, 40006},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        FakeTesseraScript script;
        if (c.failure) script.openFailure = FakeFailure{50001, *c.failure};
        Session s(script);
        if (c.started) s.tessera->StartTessera();
        s.tessera->put_TranslationMemory(L"/tms/main.tmv");
        s.tessera->put_TranslationMemoryUserName(L"anna");
        s.tessera->put_TranslationMemoryPassword(L"secret");
        EXPECT_EQ(ErrorNumber([&] { s.tessera->OpenTM(); }), c.error);
        EXPECT_EQ(s.objects->Calls("TM.Open(/tms/main.tmv,anna,secret,w)"), c.started ? 1 : 0);
    }
}

struct TempTMSession : Session {
    explicit TempTMSession(FakeTesseraScript script = {}) : Session(std::move(script)) {
        platform->environment[L"TEMP"] = folder.wpath();
        tessera->put_TranslationMemorySourceLanguageId(1031);
        tessera->put_TranslationMemoryTargetLanguageId(1036);
        tessera->StartTessera();
    }
    TempFolder folder;
};

TEST(clsBATessera, CreateTemporaryTMFallsBackToEnglishAndDeletesWhatEveryFailedAttemptLeft) {
    struct Case {
        const char* scenario;
        bool firstFails, secondFails;
        int32_t error;
        int creations;
        int32_t source, target;
        std::set<std::string> extensionsLeft;
    };
    const Case cases[] = {
        {"created at once", false, false, 0, 1, 1031, 1036, {".TMP", ".tmv"}},
        {"first attempt fails", true, false, 0, 2, 1033, 2057, {".tmv"}},
        {"both attempts fail", true, true, 40007, 2, 1031, 1036, {}},
    };
    const std::vector<std::string> attempts = {"Application.CreateTM(1031,1036)",
                                               "Application.CreateTM(1033,2057)"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        FakeTesseraScript script;
        script.firstCreateTMFails = c.firstFails;
        script.createTMAlwaysFails = c.secondFails;
        TempTMSession s(script);
        EXPECT_EQ(ErrorNumber([&] { s.tessera->CreateTemporaryTM(); }), c.error);
        const std::wstring tm = s.tessera->get_TranslationMemory();
        // In the folder, under the prefix; Windows names the folder with its own separator.
        const fs::path made(tm);
        EXPECT_EQ(made.parent_path().lexically_normal(),
                  fs::path(s.folder.wpath()).lexically_normal())
            << ToNarrow(tm);
        EXPECT_EQ(made.filename().wstring().rfind(L"ORV", 0), 0u) << ToNarrow(tm);
        EXPECT_EQ(s.objects->CallsStartingWith("Application.CreateTM"),
                  std::vector<std::string>(attempts.begin(), attempts.begin() + c.creations));
        EXPECT_EQ(s.tessera->get_TranslationMemorySourceLanguageId(), c.source);
        EXPECT_EQ(s.tessera->get_TranslationMemoryTargetLanguageId(), c.target);
        EXPECT_EQ(s.tm().open, c.error == 0);
        // The temporary file's extension is in the system's letter case (Wine writes ".tmp").
        auto lower = [](std::string name) {
            for (char& ch : name)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            return name;
        };
        std::set<std::string> left, found;
        for (const auto& extension : c.extensionsLeft)
            left.insert(lower(fs::path(ToNarrow(tm)).stem().string() + extension));
        for (const auto& name : FileNamesIn(s.folder.path())) found.insert(lower(name));
        EXPECT_EQ(found, left);
    }
}

TEST(clsBATessera, CreateTemporaryTMWithoutATemporaryNameRaises40007AndDeletesNothing) {
    TempTMSession s;
    s.folder.Write(".bashrc", "keep");
    s.folder.Write("ORV1.TMP", "keep");
    InCurrentDirectory here(s.folder.path());
    s.platform->environment[L"TEMP"] = s.folder.wpath("missing");
    EXPECT_EQ(ErrorNumber([&] { s.tessera->CreateTemporaryTM(); }), 40007);
    EXPECT_EQ(s.app().createTMCalls, 0);
    EXPECT_EQ(FileNamesIn(s.folder.path()), (std::set<std::string>{".bashrc", "ORV1.TMP"}));
}

TEST(clsBATessera, DeleteTemporaryTMDeletesOnlyTheFilesOfTheTMsBaseName) {
    const std::set<std::string> all = {"ORV1.TMP", "ORV1.tmv", "ORV1.tmi", "ORV10.tmv",
                                       "ORV2.log", ".bashrc",  ".profile", "other.txt"};
    const std::set<std::string> othersOnly = {"ORV10.tmv", "ORV2.log", ".bashrc", ".profile",
                                              "other.txt"};
    struct Case {
        const char* scenario;
        std::string tm;  // in the folder; empty for no TM name at all
        std::set<std::string> left;
    };
    const Case cases[] = {
        {"the temporary file exists", "ORV1.TMP", othersOnly},
        {"only the .tmv file exists", "ORV1.XYZ", othersOnly},
        {"neither exists", "ORV2.TMP", all},
        {"no TM name", "", all},
        {"a dot-file has no base name", ".bashrc", all},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        Session s;
        TempFolder folder;
        for (const auto& name : all) folder.Write(name, "x");
        fs::permissions(folder.path() / "ORV1.tmi", fs::perms::owner_write,
                        fs::perm_options::remove);  // read-only files go too
        InCurrentDirectory here(folder.path());
        s.tessera->put_TranslationMemory(c.tm.empty() ? L"" : folder.wpath(c.tm));
        EXPECT_TRUE(s.tessera->DeleteTemporaryTM());
        EXPECT_EQ(FileNamesIn(folder.path()), c.left);
    }
}

TEST(clsBATessera, SetUpLanguagesSelectsTheTargetAndChecksTheSource) {
    struct Case {
        const char* scenario;
        std::vector<int32_t> targets;
        int32_t target, source;
        std::optional<int32_t> refused;
        int32_t error;
        bool selected, sourceRead;
    };
    const Case cases[] = {
        {"two targets, none asked", {1033, 2057}, 0, 0, {}, 0, false, false},
        {"one target, none asked", {1033}, 0, 0, {}, 40008, false, false},
        {"target in the list, source matches", {1033, 1036, 2057}, 1036, 1031, {}, 0, true, true},
        {"target not in the list", {1033, 2057}, 1036, 0, {}, 40008, false, false},
        {"selection refused", {1036}, 1036, 0, 1036, 40008, true, false},
        {"source differs", {1036}, 1036, 1040, {}, 40009, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        FakeTesseraScript script;
        script.sourceLanguage = 1031;
        script.targetLanguages = c.targets;
        script.refusedTargetLanguage = c.refused;
        Session s(script);
        s.tessera->StartTessera();
        s.tessera->put_TranslationMemoryTargetLanguageId(c.target);
        s.tessera->put_TranslationMemorySourceLanguageId(c.source);
        EXPECT_EQ(ErrorNumber([&] { s.tessera->SetUpLanguages(); }), c.error);
        EXPECT_EQ(s.objects->CallsStartingWith("TM.TargetLanguage="),
                  std::vector<std::string>(c.selected, "TM.TargetLanguage=1036"));
        EXPECT_EQ(s.objects->Calls("TM.SourceLanguage"), c.sourceRead ? 1 : 0);
    }
}

}  // namespace
}  // namespace orv::test
