#include "engine/app/AnalysisRun.h"

#include "engine/text/PlainTextDocument.h"
#include "engine/text/Segmenter.h"
#include "platform/AutomationError.h"

namespace orv::engine {

AnalysisReport RunAnalysis(const TranslationMemory& tm, const TmIndex& index,
                           const std::vector<std::wstring>& documents, const MatchOptions& options,
                           unsigned threads) {
    AnalysisReport report;
    report.sourceLanguage = tm.sourceLanguage;
    report.targetLanguage = index.targetLanguage();
    report.matchFloor = MatchFloor(options);

    // One batch over all documents, so that a segment repeated from an earlier document is
    // a repetition too; `owner` remembers whose segment each one is.
    Segmenter segmenter(tm.sourceLanguage);
    std::vector<Segment> batch;
    std::vector<std::size_t> owner;
    report.documents.reserve(documents.size());
    for (const auto& path : documents) {
        DocumentReport document;
        document.file = path;
        try {
            for (Segment& segment : segmenter.Split(Segment{ReadPlainTextDocument(path), {}})) {
                batch.push_back(std::move(segment));
                owner.push_back(report.documents.size());
            }
        } catch (const AutomationError& e) {
            document.failure = e.description();
        }
        report.documents.push_back(std::move(document));
    }

    const std::vector<SegmentMatch> matches = MatchBatch(index, batch, options, threads);
    for (std::size_t i = 0; i < batch.size(); ++i) {
        DocumentReport& document = report.documents[owner[i]];
        const Counts counts = CountSegment(batch[i]);
        BandTally& tally = document.tally(matches[i].band);
        ++tally.segments;
        tally.words += counts.words;
        tally.placeables += counts.placeables;
        ++document.segments;
        document.total += counts;
    }
    for (const auto& document : report.documents) report.totals.Add(document);
    return report;
}

}  // namespace orv::engine
