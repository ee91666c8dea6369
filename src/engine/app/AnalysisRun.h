#pragma once
// Runs the analysis task of a job: reads and segments every document, matches the whole
// batch against the TM (repetitions count across documents, in job order) and tallies each
// segment's counts into its document's band. Between documents and between segments it
// looks for a cancel request to its control and reports progress there.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/app/AnalysisReport.h"
#include "engine/app/EngineControl.h"
#include "engine/doc/DocumentSettings.h"
#include "engine/match/Matcher.h"
#include "engine/match/TmIndex.h"
#include "engine/model/TranslationMemory.h"

namespace orv::engine {

struct AnalysisRun {
    AnalysisReport report;
    // Every segment of the batch in job order, and what the TM gave for it.
    std::vector<Segment> batch;
    std::vector<SegmentMatch> matches;
};

// Thrown when the analysis stopped for a cancel request.
struct AnalysisCancelled {
    // How many documents were completely analysed.
    std::size_t documentsDone = 0;
};

// `documents` as the job lists them, read as `settings` say (Document.h). A document that
// cannot be read gets a report whose `failure` says why; the others are analysed. Throws
// AnalysisCancelled when a request to `control` stopped it, the request then withdrawn.
// Without a control the run cannot be cancelled and reports its progress to no one.
AnalysisRun RunAnalysis(const TranslationMemory& tm, const TmIndex& index,
                        const std::vector<std::wstring>& documents, const MatchOptions& options,
                        const DocumentSettings& settings = {}, unsigned threads = 0,
                        EngineControl* control = nullptr);

}  // namespace orv::engine
