#include "cli/quote/BatchQuote.h"

namespace orv::cli {
namespace {

constexpr int kCents = 2;

struct DocumentPrice {
    PricedWords figures;
    bool hasWords = false;  // a minimum is owed only for something to translate
};

// None when the document cannot be priced.
std::optional<DocumentPrice> PriceDocument(const DocumentSummary& document, const RateGrid& grid) {
    if (!document.processed || document.processingError) return std::nullopt;
    PricedWords priced;
    bool anyWords = false;
    for (std::size_t b = 0; b < kBandCount; ++b) {
        const Decimal share = grid.shares[b];
        const int64_t words = document.bands[b].words;
        if (words < 0) {
            // Words the log did not give can only be left out when they cost nothing.
            if (share == Decimal()) continue;
            return std::nullopt;
        }
        priced.weightedWords += share.Times(words);
        anyWords = anyWords || words > 0;
    }
    priced.exactCost = priced.weightedWords.Times(grid.pricePerWord);
    if (anyWords && priced.exactCost < grid.minimumPerDocument) {
        priced.exactCost = grid.minimumPerDocument;
        priced.minimumApplied = true;
    }
    priced.cost = priced.exactCost.RoundedTo(kCents);
    return DocumentPrice{priced, anyWords};
}

}  // namespace

BatchQuote QuoteBatch(const BatchSummary& summary, const RateGrid& grid) {
    BatchQuote quote;
    quote.grid = grid;
    PricedWords total;
    bool anyWords = false;
    bool complete = true;
    for (const auto& document : summary.documents) {
        const auto priced = PriceDocument(document, grid);
        quote.documents.push_back(priced ? std::optional(priced->figures) : std::nullopt);
        if (!priced) {
            if (document.processed) complete = false;
            continue;
        }
        anyWords = anyWords || priced->hasWords;
        total.weightedWords += priced->figures.weightedWords;
        total.exactCost += grid.rounding == Rounding::PerDocument ? priced->figures.cost
                                                                  : priced->figures.exactCost;
    }
    if (anyWords && total.exactCost < grid.minimumPerJob) {
        total.exactCost = grid.minimumPerJob;
        total.minimumApplied = true;
    }
    total.cost = total.exactCost.RoundedTo(kCents);
    if (complete) quote.total = total;
    return quote;
}

}  // namespace orv::cli
