#include "cli/quote/QuoteCsv.h"

#include <vector>

#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

std::string Cell(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Row(const std::vector<std::string>& cells) {
    std::string row;
    for (std::size_t i = 0; i < cells.size(); ++i) row += (i ? ";" : "") + Cell(cells[i]);
    return row + "\r\n";
}

std::string Words(int64_t words) {
    return words < 0 ? std::string() : std::to_string(words);
}

std::vector<std::string> PricedCells(const std::string& file, const std::string& status,
                                     int64_t words, const std::optional<PricedWords>& priced,
                                     const std::string& currency) {
    if (!priced) return {file, status, Words(words), "", "", "", "", currency};
    return {file,
            status,
            Words(words),
            priced->weightedWords.ExactText(),
            priced->cost.Format(2),
            priced->exactCost.ExactText(),
            priced->minimumApplied ? "yes" : "no",
            currency};
}

}  // namespace

std::string QuoteCsvText(const BatchSummary& summary, const BatchQuote& quote) {
    const std::string& currency = quote.grid.currency;
    std::string text = Row({"File", "Status", "Words", "Weighted words", "Cost", "Exact cost",
                            "Minimum applied", "Currency"});
    for (std::size_t i = 0; i < summary.documents.size(); ++i) {
        const DocumentSummary& document = summary.documents[i];
        const auto& priced = quote.documents[i];
        const std::string status =
            !document.processed ? "not analysed" : (priced ? "analysed" : "not priced");
        text += Row(PricedCells(ToNarrow(document.path), status,
                                document.processed ? document.words : -1, priced, currency));
    }
    const std::string status = quote.total ? "analysed" : "not priced";
    text += Row(PricedCells("Total", status, summary.total.words, quote.total, currency));
    return text;
}

}  // namespace orv::cli
