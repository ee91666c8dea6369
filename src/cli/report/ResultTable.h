#pragma once
// The results for the terminal: for each document a title line and its bands as rows, then
// the same for the whole batch. Lines stay within 80 columns; file names longer than 40
// characters are shortened in the middle.

#include <ostream>

#include "cli/quote/BatchQuote.h"
#include "cli/report/BatchSummary.h"

namespace orv::cli {

struct TableStyle {
    // Titles in bold and failures in red (ANSI SGR); without it, plain ASCII layout and no
    // escape sequence at all.
    bool color = false;
};

// Writes in the locale's narrow encoding. With a quote, each analysed document and the total
// get a "Weighted words" and a "Cost" line under their bands.
void WriteResultTable(std::ostream& out, const BatchSummary& summary, const TableStyle& style,
                      const BatchQuote* quote = nullptr);

}  // namespace orv::cli
