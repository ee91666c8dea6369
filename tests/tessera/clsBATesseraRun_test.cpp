// One analysis run in Tessera: opening or creating the TM, languages, the job, the clean-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <vector>

#include "TesseraSession.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"
#include "tessera/clsBATessera.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::ErrorNumber;
using test::FakeFailure;
using test::FakeTesseraScript;
using test::Session;
using test::TempFolder;

std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::vector<std::string> CallsStartingWith(const Session& s, const std::string& prefix) {
    std::vector<std::string> calls;
    std::copy_if(s.objects->log->begin(), s.objects->log->end(), std::back_inserter(calls),
                 [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return calls;
}

// Makes `folder` the current directory for one test, where a relative file pattern would act.
class InCurrentDirectory {
public:
    explicit InCurrentDirectory(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InCurrentDirectory() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

TEST(clsBATesseraRun, OpenTMOpensForWritingAndTellsAWrongPasswordFromOtherFailures) {
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
        if (c.started) {
            EXPECT_EQ(CallsStartingWith(s, "TM.Open"),
                      std::vector<std::string>{"TM.Open(/tms/main.tmv,anna,secret,w)"});
        }
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

TEST(clsBATesseraRun, CreateTemporaryTMFallsBackToEnglishAndCleansUpAfterEveryFailure) {
    struct Case {
        const char* scenario;
        bool firstFails, secondFails;
        int32_t error;
        std::vector<std::string> creations;
        int32_t source, target;
        std::set<std::string> extensionsLeft;
    };
    const std::string asked = "Application.CreateTM(1031,1036)";
    const std::string english = "Application.CreateTM(1033,2057)";
    const Case cases[] = {
        {"created at once", false, false, 0, {asked}, 1031, 1036, {".TMP", ".tmv"}},
        {"first attempt fails", true, false, 0, {asked, english}, 1033, 2057, {".tmv"}},
        {"both attempts fail", true, true, 40007, {asked, english}, 1031, 1036, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        FakeTesseraScript script;
        script.firstCreateTMFails = c.firstFails;
        script.createTMAlwaysFails = c.secondFails;
        TempTMSession s(script);
        s.tessera->put_TranslationMemory(L"/tms/not-used.tmv");
        EXPECT_EQ(ErrorNumber([&] { s.tessera->CreateTemporaryTM(); }), c.error);
        const std::wstring tm = s.tessera->get_TranslationMemory();
        EXPECT_EQ(tm.rfind(s.folder.wpath() + L"/ORV", 0), 0u) << ToNarrow(tm);
        EXPECT_EQ(CallsStartingWith(s, "Application.CreateTM"), c.creations);
        EXPECT_EQ(s.tessera->get_TranslationMemorySourceLanguageId(), c.source);
        EXPECT_EQ(s.tessera->get_TranslationMemoryTargetLanguageId(), c.target);
        EXPECT_EQ(s.tm().open, c.error == 0);
        // A failed attempt's files and the temporary file go; only the TM made stays.
        std::set<std::string> left;
        for (const auto& extension : c.extensionsLeft)
            left.insert(fs::path(ToNarrow(tm)).stem().string() + extension);
        EXPECT_EQ(FilesIn(s.folder.path()), left);
    }
}

TEST(clsBATesseraRun, CreateTemporaryTMWithoutATemporaryNameRaisesAtOnceAndDeletesNothing) {
    TempTMSession s;
    s.folder.Write(".bashrc", "keep");
    s.folder.Write("ORV1.TMP", "keep");
    InCurrentDirectory here(s.folder.path());
    s.platform->environment[L"TEMP"] = s.folder.wpath("missing");
    EXPECT_EQ(ErrorNumber([&] { s.tessera->CreateTemporaryTM(); }), 40007);
    EXPECT_EQ(s.app().createTMCalls, 0);
    EXPECT_EQ(FilesIn(s.folder.path()), (std::set<std::string>{".bashrc", "ORV1.TMP"}));
}

TEST(clsBATesseraRun, DeleteTemporaryTMDeletesOnlyTheFilesOfTheTMsBaseName) {
    const std::set<std::string> all = {"ORV1.TMP", "ORV1.tmv", "ORV1.tmi", "ORV10.tmv", "ORV2.log",
                                       ".bashrc",  ".profile", ".tmv",     "other.txt"};
    const std::set<std::string> othersOnly = {"ORV10.tmv", "ORV2.log", ".bashrc",
                                              ".profile",  ".tmv",     "other.txt"};
    struct Case {
        const char* scenario;
        std::string tm;  // relative to the folder; "<none>" for an empty name
        std::set<std::string> left;
    };
    const Case cases[] = {
        {"the temporary file exists", "ORV1.TMP", othersOnly},
        {"only the .tmv file exists", "ORV1.XYZ", othersOnly},
        {"neither exists", "ORV2.TMP", all},
        {"no TM name", "<none>", all},
        {"no file name", "/", all},
        {"no base name", ".bashrc", all},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        Session s;
        TempFolder folder;
        for (const auto& name : all) folder.Write(name, "x");
        fs::permissions(folder.path() / "ORV1.tmi", fs::perms::owner_write,
                        fs::perm_options::remove);
        InCurrentDirectory here(folder.path());
        s.tessera->put_TranslationMemory(c.tm == "<none>" ? L""
                                         : c.tm == "/"    ? folder.wpath() + L"/"
                                                          : folder.wpath(c.tm));
        EXPECT_TRUE(s.tessera->DeleteTemporaryTM());
        EXPECT_EQ(FilesIn(folder.path()), c.left);
    }
}

TEST(clsBATesseraRun, SetUpLanguagesSelectsTheTargetAndChecksTheSource) {
    struct Case {
        const char* scenario;
        std::vector<int32_t> targets;
        int32_t target, source;
        std::optional<int32_t> refused;
        int32_t error;
        std::vector<std::string> selections;
        bool sourceRead;
    };
    const Case cases[] = {
        {"two targets, none asked", {1033, 2057}, 0, 0, {}, 0, {}, false},
        {"one target, none asked", {1033}, 0, 0, {}, 40008, {}, false},
        {"target in the list",
         {1033, 1036, 2057},
         1036,
         0,
         {},
         0,
         {"TM.TargetLanguage=1036"},
         false},
        {"target not in the list", {1033, 2057}, 1036, 0, {}, 40008, {}, false},
        {"selection refused", {1036}, 1036, 0, 1036, 40008, {"TM.TargetLanguage=1036"}, false},
        {"source matches", {1036}, 1036, 1031, {}, 0, {"TM.TargetLanguage=1036"}, true},
        {"source differs", {1036}, 1036, 1040, {}, 40009, {"TM.TargetLanguage=1036"}, true},
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
        EXPECT_EQ(CallsStartingWith(s, "TM.TargetLanguage="), c.selections);
        EXPECT_EQ(s.objects->Calls("TM.SourceLanguage"), c.sourceRead ? 1 : 0);
    }
}

TEST(clsBATesseraRun, RunJobWritesTheOptionsFirstAndReportsAFailedJobAs40002) {
    struct Case {
        const char* scenario;
        bool started, withOptions, failingJob;
        std::wstring refusedOption;
        int32_t error;
        int jobRuns;
        std::size_t writesBeforeJob;
    };
    const Case cases[] = {
        {"no option set", true, false, false, L"", 0, 1, 0},
        {"option set", true, true, false, L"", 0, 1, 48},
        {"job fails", true, true, true, L"", 40002, 1, 48},
        {"option refused", true, true, false, L"GeneralOptions.DisplayTime", 50100, 0, 0},
        {"no Tessera", false, false, false, L"", 40002, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        FakeTesseraScript script;
        if (c.failingJob) script.executeFailure = FakeFailure{};
        script.refusedOptionWrite = c.refusedOption;
        script.cancelWithProcessedFiles = 1;  // lets the test look in while the job runs
        Session s(script);
        if (c.started) s.tessera->StartTessera();
        if (c.withOptions) {
            s.tessera->putref_BATesserasettings(std::make_shared<clsBATesseraSettings>());
            s.tessera->get_BATesserasettings()->put_WasInitialised(true);
        }
        std::size_t writesBeforeJob = 0;
        auto look = s.tessera->OnBatchCancelledByUser.Subscribe(
            [&](int32_t) { writesBeforeJob = s.app().optionWrites.size(); });
        try {
            EXPECT_TRUE(s.tessera->RunJob(L"job.txt"));
            EXPECT_EQ(c.error, 0);
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), c.error);
            if (c.error == 40002) {
                EXPECT_EQ(error.description(), L"Error during analysis.");
            }
        }
        EXPECT_EQ(s.objects->Calls("TM.ExecuteJobFile"), c.jobRuns);
        EXPECT_EQ(writesBeforeJob, c.writesBeforeJob);
    }
}

TEST(clsBATesseraRun, CloseTMClosesOnlyAnOpenTMAndNeverFails) {
    struct Case {
        const char* scenario;
        bool started, open, closeFails;
        int closes;
        bool openAfter;
    };
    const Case cases[] = {
        {"no Tessera", false, false, false, 0, false},
        {"TM not open", true, false, false, 0, false},
        {"TM open", true, true, false, 1, false},
        {"close fails", true, true, true, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        FakeTesseraScript script;
        script.closeFails = c.closeFails;
        Session s(script);
        if (c.started) s.tessera->StartTessera();
        if (c.open) s.tessera->OpenTM();
        EXPECT_TRUE(s.tessera->CloseTM());
        EXPECT_EQ(s.objects->Calls("TM.Close"), c.closes);
        if (c.started) {
            EXPECT_EQ(s.tm().open, c.openAfter);
        }
    }
}

}  // namespace
}  // namespace orv
