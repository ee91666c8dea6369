#pragma once
// The optional tasks of a job, run on what the analysis found: the export of segments the
// TM does not cover well enough, the export of frequent segments, and the project TM.
//
// Export formats: file type 2 is TMX (source text only, inline codes kept); every other
// type is UTF-8 text, one segment a line (inline codes left out, line breaks and a standalone
// code between two words as spaces).
// The frequent-segments export gives the count with each segment: a tab-separated count
// before the text, or the TMX unit's "usagecount".

#include <string>

#include "engine/app/AnalysisRun.h"
#include "engine/job/JobFile.h"
#include "engine/model/TranslationMemory.h"

namespace orv::engine {

// The file type that means TMX.
inline constexpr int32_t kTmxFileType = 2;

// Every distinct segment (first occurrence, in batch order) whose best match in the
// target language is below `task.maxMatch`.
void ExportUnknownSegments(const AnalysisRun& run, const std::wstring& sourceLanguage,
                           const ExportUnknownTask& task);

// Every distinct segment that occurs at least `task.occurrences` times, most frequent
// first (then in order of first occurrence).
void ExportFrequentSegments(const AnalysisRun& run, const std::wstring& sourceLanguage,
                            const ExportFrequentTask& task);

// A TMX of every TM unit that gave a match at or above the floor (100% or fuzzy) for some
// segment of the batch, in TM order.
void CreateProjectTM(const AnalysisRun& run, const TranslationMemory& tm,
                     const ProjectTMTask& task);

}  // namespace orv::engine
