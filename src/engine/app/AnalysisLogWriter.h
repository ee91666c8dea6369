#pragma once
// Writes what an analysis found: the readable analysis log at the job's LogFile and, beside
// it, the CSV log file the component reads (".csv" in place of the log's extension). Both
// in the system's narrow encoding with CR LF line ends.

#include <cstddef>
#include <string>

#include "engine/app/AnalysisReport.h"

namespace orv::engine {

// The CSV log file's text: two header lines, then one row per document, nothing after the
// last row (totals belong in the readable log).
std::string CsvLogText(const AnalysisReport& report);

// The readable log's text.
std::string ReadableLogText(const AnalysisReport& report);

// Writes both files for `logFile`; when the CSV name is `logFile` itself, only the CSV log
// file is written. Throws an engine error naming the file that cannot be written.
void WriteAnalysisLogs(const AnalysisReport& report, const std::wstring& logFile);

// For a batch the user stopped: a readable log that says so, and no CSV log file (an older
// one at that name is removed), so that nothing passes for a complete analysis.
void WriteCancelledLog(const std::wstring& logFile, std::size_t documentsDone,
                       std::size_t documents);

}  // namespace orv::engine
