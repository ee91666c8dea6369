#pragma once
// The results as JSON: {"documents": [...], "total": {...}}, each object with every field of
// a document record under its interface name ("FilePath", "WordsIn95Matches", ...). A count
// or chars/word that the analysis log did not give is null, never -1, so that a consumer
// adding numbers up cannot take it for a value. Strings are UTF-8.
//
// With a quote, every object gains "quote": weightedWords, exactCost, cost (to the cent) and
// minimumApplied; null for a document that was not analysed. The total's quote also names
// the grid: currency, pricePerWord, rounding ("document" or "total"), minimumPerDocument,
// minimumPerJob and shares (percent by band key: "30", "33.3333"). Amounts are decimal strings
// ("12.35"), so that no reader takes money through binary floating point.

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/quote/BatchQuote.h"
#include "cli/report/BatchSummary.h"

namespace orv::cli {

nlohmann::json ResultJson(const BatchSummary& summary, const BatchQuote* quote = nullptr);

// Indented by two spaces, with a final line break.
void WriteResultJson(std::ostream& out, const BatchSummary& summary,
                     const BatchQuote* quote = nullptr);

}  // namespace orv::cli
