#pragma once
// A document analysed against a small memory, as a job would analyse it, so that a document of
// an office format and the same text as plain text or HTML can be compared band by band.

#include <string>

#include "engine/app/AnalysisReport.h"
#include "engine/doc/DocumentSettings.h"
#include "engine/match/Matcher.h"

namespace orv::engine::test {

// An English to German memory of a few sentences, so that a document that holds them has
// segments in several bands: "The quick brown fox jumps over the lazy dog.", "Press the
// green button to start the machine.", "Our office is closed on public holidays." and
// "Invoices are due within thirty days.".
extern const char* const kOfficeTmx;

// The report of the document `fileName` (its extension chooses the reader) holding `bytes`,
// written into a temporary folder and analysed against `tmx` for de-DE.
DocumentReport AnalyseDocument(const std::string& fileName, const std::string& bytes,
                               const DocumentSettings& settings = {},
                               const MatchOptions& options = {},
                               const std::string& tmx = kOfficeTmx);

// The report's figures as one line of text: the failure if any, totals, tagging errors, then the
// segments, words and placeables of each band, so that a test compares two reports with one
// readable message.
std::string Figures(const DocumentReport& report);

}  // namespace orv::engine::test
