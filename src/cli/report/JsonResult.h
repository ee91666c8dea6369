#pragma once
// The results as JSON: {"documents": [...], "total": {...}}, each object with every field of
// a document record under its interface name ("FilePath", "WordsIn95Matches", ...). A count
// or chars/word that the analysis log did not give is null, never -1, so that a consumer
// adding numbers up cannot take it for a value. Strings are UTF-8.

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/report/BatchSummary.h"

namespace orv::cli {

nlohmann::json ResultJson(const BatchSummary& summary);

// Indented by two spaces, with a final line break.
void WriteResultJson(std::ostream& out, const BatchSummary& summary);

}  // namespace orv::cli
