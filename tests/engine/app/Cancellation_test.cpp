// A batch stopped by the user part-way, through the engine's TM and through BatchAnalyse, and
// the progress an analysis reports on its way.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/JobTesting.h"
#include "engine/app/EngineControl.h"
#include "engine/app/EngineObjectServices.h"
#include "engine/model/EngineError.h"
#include "front/BatchAnalyse.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

using ::testing::HasSubstr;

constexpr int kDocuments = 5;
constexpr int kParagraphs = 8;
constexpr std::size_t kSegments = kDocuments * kParagraphs;

// Documents of `kParagraphs` different sentences each, close enough to the golden memory's
// units that the matching has work to do.
std::vector<fs::path> WriteDocuments(const TempFolder& folder) {
    const char* const stems[] = {"Press the red button to start the pump in room ",
                                 "Remove the lid before washing filter number ",
                                 "Check the power connections at the back of device ",
                                 "The tank in hall holds litres: "};
    std::vector<fs::path> documents;
    for (int d = 0; d < kDocuments; ++d) {
        std::string text;
        for (int p = 0; p < kParagraphs; ++p)
            text += stems[p % 4] + std::to_string(100 * d + p) + ".\n\n";
        documents.push_back(folder.Write("doc" + std::to_string(d) + ".txt", text));
    }
    return documents;
}

// Records every report `control` gets; asks it for a cancel at the first report of matching
// with at least `cancelAt` segments done, if set. Removed at the end of its scope with any
// request that is still pending, so that the next case starts clean.
struct ProgressRecorder {
    explicit ProgressRecorder(EngineControl& control,
                              std::optional<std::size_t> cancelAt = std::nullopt)
        : control_(control) {
        control_.SetProgressCallback([this, cancelAt](const Progress& progress) {
            reports.push_back(progress);
            if (cancelAt && !requestedAt && progress.segments != 0 &&
                progress.segmentsDone >= *cancelAt) {
                requestedAt = progress;
                control_.RequestCancel();
            }
        });
    }
    ~ProgressRecorder() {
        control_.SetProgressCallback({});
        control_.ClearCancelRequest();
    }
    ProgressRecorder(const ProgressRecorder&) = delete;
    ProgressRecorder& operator=(const ProgressRecorder&) = delete;

    std::vector<Progress> reports;
    std::optional<Progress> requestedAt;  // the report at which the cancel was asked for

private:
    EngineControl& control_;
};

class Cancellation : public GoldenTmJob {
protected:
    Cancellation() {
        events_ = app.OnBatchCancelledByUser.Subscribe(
            [this](int32_t processed) { cancelled.push_back(processed); });
    }

    std::vector<std::string> CsvRows() const {
        auto lines = CrLfLines(ReadBytes(In("run.csv")));
        return lines.size() < 2 ? lines : std::vector<std::string>(lines.begin() + 2, lines.end());
    }

    std::vector<fs::path> documents = WriteDocuments(folder);
    std::vector<int32_t> cancelled;  // the events' ProcessedFiles
    EngineControl& control = *app.control();

private:
    Subscription events_;
};

TEST_F(Cancellation, AStoppedBatchFailsRaisesTheEventOnceAndLeavesNoCsvLogFile) {
    const struct {
        const char* what;
        std::optional<std::size_t> cancelAt;  // none: before the job
    } cases[] = {
        // A request that no analysis has taken up yet stops the next one.
        {"before the job", std::nullopt},      {"as the matching starts", 0},
        {"after the first segment", 1},        {"half-way", kSegments / 2},
        {"after the last segment", kSegments},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cancelled.clear();
        folder.Write("run.csv", "the CSV log file of an earlier analysis");
        {
            ProgressRecorder recorder(control, c.cancelAt);
            if (!c.cancelAt) control.RequestCancel();
            const auto error = RaisedBy([&] { Execute(JobText(documents, In("run.log"))); });
            ASSERT_TRUE(error);
            EXPECT_EQ(error->number(), kEngineFailure);
            EXPECT_EQ(error->description(), L"Batch cancelled by user");
            EXPECT_EQ(control.LastJobFailure(), L"Batch cancelled by user");
            EXPECT_FALSE(control.CancelRequested()) << "the request was taken up";

            ASSERT_EQ(cancelled.size(), 1u) << "one event";
            EXPECT_EQ(cancelled[0], recorder.requestedAt.value_or(Progress{}).documentsDone)
                << "the documents done when the cancel was asked for";
            if (c.cancelAt == kSegments) {
                EXPECT_EQ(cancelled[0], kDocuments);
            }
            if (!c.cancelAt) {
                EXPECT_TRUE(recorder.reports.empty());
            }

            EXPECT_FALSE(fs::exists(In("run.csv")));
            EXPECT_THAT(ReadBytes(In("run.log")),
                        HasSubstr("cancelled by the user after " + std::to_string(cancelled[0]) +
                                  " of " + std::to_string(kDocuments) + " documents"));
        }
        Execute(JobText(documents, In("run.log")));
        EXPECT_EQ(CsvRows().size(), static_cast<std::size_t>(kDocuments))
            << "the next job runs to its end";
        EXPECT_EQ(cancelled.size(), 1u);
        EXPECT_TRUE(control.LastJobFailure().empty());
    }
}

TEST_F(Cancellation, ProgressIsReportedForEachDocumentReadAndRisesStepByStepToTheTotals) {
    // Documents without segments are done as soon as they are read.
    documents.push_back(folder.Write("empty.txt", ""));
    documents.push_back(In("missing.txt"));
    ProgressRecorder recorder(control);
    Execute(JobText(documents, In("run.log")));

    // Reports with no segments yet while the documents are read, then one a segment matched.
    const auto& reports = recorder.reports;
    const auto matching = std::find_if(reports.begin(), reports.end(),
                                       [](const Progress& p) { return p.segments != 0; });
    EXPECT_GE(matching - reports.begin(), std::ssize(documents))
        << "a report after each document read";
    ASSERT_EQ(reports.end() - matching, static_cast<std::ptrdiff_t>(kSegments + 1));
    EXPECT_EQ(matching->segmentsDone, 0u) << "the first report of matching";
    EXPECT_EQ(matching->documentsDone, 2u) << "the two without segments";
    Progress previous;
    for (auto p = reports.begin(); p != reports.end(); previous = *p++) {
        EXPECT_EQ(p->documents, documents.size());
        EXPECT_GE(p->documentsDone, previous.documentsDone);
        EXPECT_LE(p->documentsDone, p->documents);
        EXPECT_LE(p->segmentsDone, p->segments);
        if (p <= matching) continue;
        EXPECT_EQ(p->segments, kSegments) << "segments is 0 only before matching starts";
        EXPECT_EQ(p->segmentsDone, previous.segmentsDone + 1) << "a report per segment";
    }
    EXPECT_EQ(reports.back().documentsDone, documents.size());

    std::size_t csvSegments = 0;
    for (const auto& row : CsvRows()) {
        const std::string total = Cell(row, LogBand::Total, 0);
        csvSegments += total.empty() ? 0 : std::stoul(total);
    }
    EXPECT_EQ(csvSegments, kSegments);
}

// A batch of the golden memory and the written documents through the component, with its
// own engine control, and the documents-done counts that its cancel events relay.
class CancellationThroughBatchAnalyse : public ::testing::Test {
protected:
    CancellationThroughBatchAnalyse() {
        CopyGolden(folder);
        fs::create_directory(folder.path() / "temp");
        ba.put_TranslationMemory(folder.wpath("memory.tmx"));
        ba.put_TranslationMemoryUserName(L"anna");
        ba.put_TranslationMemoryTargetLanguageId(1031);
        ba.put_LogFileName(folder.wpath("analysis.log"));
        for (const auto& document : WriteDocuments(folder))
            ba.get_Files()->Add(FromNarrow(document.string()));
    }

    TempFolder folder;
    ScopedTemp temp{folder.path() / "temp"};
    const std::shared_ptr<EngineControl> control = std::make_shared<EngineControl>();
    BatchAnalyse ba{EngineServicesFor(control)};
    std::vector<int32_t> relayed;
    const Subscription events = ba.OnBatchAnalysisCancelledByUser.Subscribe(
        [this](int32_t processed) { relayed.push_back(processed); });
};

// Through the component, the engine's event reaches the client as the component's own, and
// the failed job is the component's error of the analysis.
TEST_F(CancellationThroughBatchAnalyse, AnalyseFailsWithTheAnalysisErrorAndRelaysTheDocumentsDone) {
    {
        ProgressRecorder recorder(*control, kSegments / 2);
        const auto error = RaisedBy([&] { ba.Analyse(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorDuringAnalysis);
        EXPECT_EQ(error->description(), L"Error during analysis.");
        EXPECT_EQ(control->LastJobFailure(), L"Batch cancelled by user");
        ASSERT_TRUE(recorder.requestedAt);
        ASSERT_EQ(relayed.size(), 1u);
        EXPECT_EQ(relayed[0], static_cast<int32_t>(recorder.requestedAt->documentsDone));
    }
    for (const auto& record : ba.get_Files()->NewEnum()) EXPECT_FALSE(record->get_FileProcessed());
    EXPECT_FALSE(fs::exists(folder.path() / "analysis.csv"));
    EXPECT_TRUE(Listing(folder.path() / "temp").empty()) << "the job file is deleted";
    EXPECT_EQ(RunningEngine(), nullptr) << "the Tessera this analysis started has quit";

    ASSERT_TRUE(ba.Analyse());
    for (const auto& record : ba.get_Files()->NewEnum()) {
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_EQ(record->get_SegmentsTotal(), kParagraphs);
    }
    EXPECT_EQ(relayed.size(), 1u);
}

// Loading a large TM takes seconds: a request made meanwhile ends the open at once, and the
// client hears of it as of a batch cancelled before any document was done.
TEST_F(CancellationThroughBatchAnalyse, ARequestWhileTheTmLoadsStopsTheOpenAndWritesNoJobFile) {
    {
        ProgressRecorder recorder(*control);
        control->RequestCancel();  // stands for a Ctrl-C while the TM is read
        const auto error = RaisedBy([&] { ba.Analyse(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToOpenTM);
        EXPECT_FALSE(control->CancelRequested()) << "the request was taken up";
        EXPECT_EQ(relayed, std::vector<int32_t>{0});
        EXPECT_TRUE(recorder.reports.empty()) << "no document was read";
    }
    EXPECT_TRUE(Listing(folder.path() / "temp").empty()) << "no job file";
    EXPECT_FALSE(fs::exists(folder.path() / "analysis.csv"));
    EXPECT_EQ(RunningEngine(), nullptr);

    ASSERT_TRUE(ba.Analyse()) << "the next batch runs to its end";
    EXPECT_EQ(relayed.size(), 1u);
}

}  // namespace
}  // namespace orv::engine::test
