// Two clients in one process, each with its own engine application: a cancel request, the
// progress and the failures of one never reach the other, whether the two run one after the
// other or at the same time on two threads.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/JobTesting.h"
#include "engine/app/EngineApplication.h"
#include "engine/app/EngineControl.h"
#include "engine/app/EngineObjectServices.h"
#include "front/BatchAnalyse.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

// An engine application of its own with the golden memory open for German, in a folder of its
// own, so that neither TM's lock keeps the other out.
struct OwnEngine {
    OwnEngine() {
        CopyGolden(folder);
        tm->Open(folder.wpath("memory.tmx"), L"anna", L"", L"w");
        tm->put_TargetLanguage(1031);
    }

    // Runs the job on the golden documents; whether it succeeded.
    bool RunGoldenJob() {
        folder.Write("job.tmp", JobText({folder.path() / "alpha.txt", folder.path() / "beta.txt"},
                                        folder.path() / "run.log"));
        return !RaisedBy([&] { tm->ExecuteJobFile(folder.wpath("job.tmp")); });
    }

    TempFolder folder;
    EngineApplication app;
    std::shared_ptr<TessappTM> tm = app.get_CurrentTM();
    EngineControl& control = *app.control();
};

TEST(SeparateEngines, AFailureIsKeptByTheApplicationItHappenedInAlone) {
    const struct {
        const char* what;
        std::function<void(OwnEngine&)> fail;
        std::function<std::wstring(const EngineControl&)> failure;
    } cases[] = {
        {"a job that fails",
         [](OwnEngine& engine) {
             EXPECT_TRUE(
                 RaisedBy([&] { engine.tm->ExecuteJobFile(engine.folder.wpath("missing.tmp")); }));
         },
         &EngineControl::LastJobFailure},
        {"a TM that cannot be opened",
         [](OwnEngine& engine) {
             EXPECT_TRUE(RaisedBy(
                 [&] { engine.tm->Open(engine.folder.wpath("missing.tmx"), L"anna", L"", L"r"); }));
         },
         &EngineControl::LastTmOpenFailure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnEngine failing, other;
        c.fail(failing);
        EXPECT_FALSE(c.failure(failing.control).empty());
        EXPECT_TRUE(c.failure(other.control).empty()) << "the other saw the failure";

        // The other one's success does not wipe out what failed here.
        ASSERT_TRUE(other.RunGoldenJob());
        EXPECT_FALSE(c.failure(failing.control).empty());
    }
}

TEST(SeparateEngines, ACancelRequestStopsOnlyTheApplicationItWasMadeTo) {
    OwnEngine asked, other;
    asked.control.RequestCancel();

    EXPECT_TRUE(other.RunGoldenJob()) << "the request of another application stopped the job";
    EXPECT_TRUE(other.control.LastJobFailure().empty());
    EXPECT_TRUE(asked.control.CancelRequested()) << "the other application took the request";

    EXPECT_FALSE(asked.RunGoldenJob());
    EXPECT_EQ(asked.control.LastJobFailure(), L"Batch cancelled by user");
    EXPECT_FALSE(asked.control.CancelRequested());
}

TEST(SeparateEngines, ServicesGiveTheirControlToEveryApplicationTheyCreateOrOneEachOfItsOwn) {
    const auto control = std::make_shared<EngineControl>();
    EngineObjectServices withControl(control), withoutControl;
    const auto controlOf = [](const std::shared_ptr<TessappApplication>& created) {
        return static_cast<EngineApplication&>(*created).control();
    };
    EXPECT_EQ(controlOf(withControl.CreateTessera()), control);
    EXPECT_EQ(controlOf(withControl.CreateTessera()), control);

    const auto first = controlOf(withoutControl.CreateTessera());
    const auto second = controlOf(withoutControl.CreateTessera());
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_NE(first, control);
}

// Something one thread waits for and another makes happen. The wait is bounded only so that a
// fault shows as a failure rather than a hung test.
class Milestone {
public:
    void Reach() {
        {
            std::lock_guard<std::mutex> hold(lock_);
            reached_ = true;
        }
        changed_.notify_all();
    }
    bool Await() {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::seconds(30), [this] { return reached_; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool reached_ = false;
};

// A whole analysis of `documents` through its own BatchAnalyse, in a folder of its own (the
// golden batch and whatever `extra` adds), its engine answering to `control`.
struct ClientRun {
    ClientRun(const std::vector<std::string>& documents,
              const std::vector<std::pair<std::string, std::string>>& extra = {}) {
        CopyGolden(folder);
        for (const auto& [name, text] : extra) folder.Write(name, text);
        ba.put_TranslationMemory(folder.wpath("memory.tmx"));
        ba.put_TranslationMemoryUserName(L"anna");
        ba.put_TranslationMemoryTargetLanguageId(1031);
        ba.put_LogFileName(folder.wpath("analysis.log"));
        for (const auto& name : documents) ba.get_Files()->Add(folder.wpath(name));
        events = ba.OnBatchAnalysisCancelledByUser.Subscribe(
            [this](int32_t processed) { cancelled.push_back(processed); });
    }

    void Analyse() {
        outcome = RaisedBy([&] { ba.Analyse(); });
    }

    TempFolder folder;
    std::shared_ptr<EngineControl> control = std::make_shared<EngineControl>();
    BatchAnalyse ba{EngineServicesFor(control)};
    std::vector<Progress> reports;  // every report its callback got
    std::vector<int32_t> cancelled;
    std::optional<AutomationError> outcome;
    Subscription events;
};

// Both match at once, in lock step: the one to be stopped asks for its cancel while the other
// is in the middle of its matching, and holds it pending until the other has looked for a
// request once more; the other goes on only once the stopped one has ended.
TEST(SeparateEngines, TwoClientsOnTwoThreadsOneCancelledTheOtherFinishingWithItsResults) {
    TempFolder temp;
    ScopedTemp scopedTemp(temp.path());
    ClientRun stopped({"alpha.txt", "beta.txt", "gamma.txt"},
                      {{"gamma.txt", "Press the red button twice to stop the pump.\n"}});
    ClientRun finishing({"alpha.txt", "beta.txt"});
    Milestone finishingMatches, requested, finishingLooked, stoppedEnded;
    std::atomic<bool> metInTime{true};
    const auto await = [&](Milestone& milestone) {
        if (!milestone.Await()) metInTime = false;
    };

    stopped.control->SetProgressCallback([&](const Progress& progress) {
        stopped.reports.push_back(progress);
        if (progress.segments != 0 && progress.segmentsDone == 0) {
            await(finishingMatches);
            stopped.control->RequestCancel();
            requested.Reach();
            await(finishingLooked);
        }
    });
    // Each report of a matched segment comes before the look for a request that follows it.
    finishing.control->SetProgressCallback([&](const Progress& progress) {
        finishing.reports.push_back(progress);
        if (progress.segments == 0) return;
        if (progress.segmentsDone == 1) {
            finishingMatches.Reach();
            await(requested);
        } else if (progress.segmentsDone == 2) {
            finishingLooked.Reach();
            await(stoppedEnded);
        }
    });

    // However a run ends, the other need not wait for it in vain.
    std::thread stoppedThread([&] {
        stopped.Analyse();
        requested.Reach();
        stoppedEnded.Reach();
    });
    std::thread finishingThread([&] {
        finishing.Analyse();
        finishingMatches.Reach();
        finishingLooked.Reach();
    });
    stoppedThread.join();
    finishingThread.join();
    EXPECT_TRUE(metInTime) << "the two analyses did not meet";

    ASSERT_TRUE(stopped.outcome);
    EXPECT_EQ(stopped.outcome->number(), ovOrvBatchAnalyseErrorDuringAnalysis);
    EXPECT_EQ(stopped.cancelled, std::vector<int32_t>{0});
    EXPECT_EQ(stopped.control->LastJobFailure(), L"Batch cancelled by user");

    EXPECT_FALSE(finishing.outcome) << ToNarrow(finishing.outcome->description());
    EXPECT_TRUE(finishing.cancelled.empty());
    EXPECT_TRUE(finishing.control->LastJobFailure().empty());
    const int32_t expectedSegments[] = {6, 5};  // alpha.txt, beta.txt
    for (int32_t i = 0; i < finishing.ba.get_Files()->Count(); ++i) {
        const auto record = finishing.ba.get_Files()->Item(i + 1);
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_EQ(record->get_SegmentsTotal(), expectedSegments[i]);
    }

    // Each callback got its own analysis's progress only: the batches differ in length.
    for (const auto& [run, documents] : {std::pair{&stopped, 3u}, std::pair{&finishing, 2u}}) {
        ASSERT_FALSE(run->reports.empty());
        for (const Progress& progress : run->reports) EXPECT_EQ(progress.documents, documents);
    }
    EXPECT_EQ(finishing.reports.back().segmentsDone, 11u);
    EXPECT_EQ(finishing.reports.back().documentsDone, 2u);
}

}  // namespace
}  // namespace orv::engine::test
