#pragma once
// Runs the analysis task of a job: reads and segments every document, matches the whole
// batch against the TM (repetitions count across documents, in job order) and tallies each
// segment's counts into its document's band.

#include <string>
#include <vector>

#include "engine/app/AnalysisReport.h"
#include "engine/match/Matcher.h"
#include "engine/match/TmIndex.h"
#include "engine/model/TranslationMemory.h"

namespace orv::engine {

// `documents` as the job lists them. A document that cannot be read gets a report whose
// `failure` says why; the others are analysed.
AnalysisReport RunAnalysis(const TranslationMemory& tm, const TmIndex& index,
                           const std::vector<std::wstring>& documents, const MatchOptions& options,
                           unsigned threads = 0);

}  // namespace orv::engine
