#pragma once
// The quote on the HTML report: the payable total, the grid it was worked out by, and each
// document's weighted words and cost, so that a buyer can check every figure by hand.

#include <ostream>

#include "cli/quote/BatchQuote.h"
#include "cli/report/BatchSummary.h"

namespace orv::cli {

// A <section> in the page's own classes (figures, tables, warning); UTF-8.
void WriteHtmlQuoteSection(std::ostream& out, const BatchSummary& summary, const BatchQuote& quote);

}  // namespace orv::cli
