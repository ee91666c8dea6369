#include "engine/app/AnalysisRun.h"

#include "engine/app/EngineExtras.h"
#include "engine/doc/DocumentSegmenter.h"
#include "engine/formats/Document.h"
#include "platform/AutomationError.h"

namespace orv::engine {
namespace {

void StopIfCancelled(EngineControl* control, std::size_t documentsDone) {
    if (control && control->TakeCancelRequest()) throw AnalysisCancelled{documentsDone};
}

void Report(EngineControl* control, const Progress& progress) {
    if (control) control->ReportProgress(progress);
}

}  // namespace

AnalysisRun RunAnalysis(const TranslationMemory& tm, const TmIndex& index,
                        const std::vector<std::wstring>& documents, const MatchOptions& options,
                        const DocumentSettings& settings, unsigned threads,
                        EngineControl* control) {
    AnalysisRun run;
    AnalysisReport& report = run.report;
    report.sourceLanguage = tm.sourceLanguage;
    report.targetLanguage = index.targetLanguage();
    report.matchFloor = MatchFloor(options);

    // One batch over all documents, so that a segment repeated from an earlier document is
    // a repetition too; `owner` remembers whose segment each one is.
    Progress progress{0, documents.size(), 0, 0};
    // No control: no extras, the built-in rules.
    const std::wstring rules = control ? control->Extras().segmentationRulesFile : std::wstring();
    DocumentSegmenter segmenter(tm.sourceLanguage, rules);
    std::vector<std::size_t> owner;
    report.documents.reserve(documents.size());
    for (const auto& path : documents) {
        StopIfCancelled(control, 0);
        DocumentReport document;
        document.file = path;
        try {
            const DocumentText text =
                ReadDocument(path, settings, control ? control->CancelCheck() : StopCheck{});
            document.taggingErrors = text.taggingErrors;
            document.encoding = text.encoding.Described();
            for (const std::wstring& note : text.notes)
                report.notes.push_back(L"Note on " + path + L": " + note);
            for (Segment& segment : segmenter.Split(text)) {
                run.batch.push_back(std::move(segment));
                owner.push_back(report.documents.size());
                ++document.segments;
            }
        } catch (const AutomationError& e) {
            document.failure = e.description();
        }
        report.documents.push_back(std::move(document));
        // Reading a large batch takes a while too; no document is done until it is matched.
        Report(control, progress);
    }

    // A document is done when the last of its segments is matched; documents without
    // segments are done at once.
    std::vector<std::size_t> segmentsLeft(report.documents.size());
    for (std::size_t d = 0; d < report.documents.size(); ++d) {
        segmentsLeft[d] = static_cast<std::size_t>(report.documents[d].segments);
        if (segmentsLeft[d] == 0) ++progress.documentsDone;
        report.documents[d].segments = 0;
    }
    progress.segments = run.batch.size();
    Report(control, progress);
    StopIfCancelled(control, progress.documentsDone);

    run.matches = MatchBatch(index, run.batch, options, threads, [&](std::size_t i) {
        ++progress.segmentsDone;
        if (--segmentsLeft[owner[i]] == 0) ++progress.documentsDone;
        Report(control, progress);
        StopIfCancelled(control, progress.documentsDone);
    });

    for (std::size_t i = 0; i < run.batch.size(); ++i) {
        DocumentReport& document = report.documents[owner[i]];
        const Counts counts = CountSegment(run.batch[i]);
        BandTally& tally = document.tally(run.matches[i].band);
        ++tally.segments;
        tally.words += counts.words;
        tally.placeables += counts.placeables;
        ++document.segments;
        document.total += counts;
    }
    for (const auto& document : report.documents) report.totals.Add(document);
    return run;
}

}  // namespace orv::engine
