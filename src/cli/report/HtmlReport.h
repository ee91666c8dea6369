#pragma once
// The results as one self-contained HTML page for sharing: no script, no external fetch, CSS
// inline. It shows the batch's key figures, the quote when there is one, one stacked bar per
// document with its words by match band, and the totals as a table.

#include <ostream>
#include <string>

#include "cli/quote/BatchQuote.h"
#include "cli/report/BatchSummary.h"

namespace orv::cli {

// What the page says about the run; empty members are left out.
struct ReportContext {
    std::wstring tmPath;
    std::wstring targetLanguage;
    std::wstring generatedAt;
    const BatchQuote* quote = nullptr;  // with it, a quote section follows the summary
};

// Writes UTF-8 (the page declares it), whatever the locale.
void WriteHtmlReport(std::ostream& out, const BatchSummary& summary, const ReportContext& context);

}  // namespace orv::cli
