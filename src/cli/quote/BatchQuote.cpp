#include "cli/quote/BatchQuote.h"

namespace orv::cli {
namespace {

constexpr int kCents = 2;

std::optional<PricedWords> PriceDocument(const DocumentSummary& document, const RateGrid& grid) {
    if (!document.processed || document.processingError) return std::nullopt;
    PricedWords priced;
    for (std::size_t b = 0; b < kBandCount; ++b) {
        const Decimal share = grid.shares[b];
        const int64_t words = document.bands[b].words;
        if (words < 0) {
            // Words the log did not give can only be left out when they cost nothing.
            if (share == Decimal()) continue;
            return std::nullopt;
        }
        priced.weightedWords += share.Times(words);
    }
    priced.exactCost = priced.weightedWords.Times(grid.pricePerWord);
    if (priced.exactCost < grid.minimumPerDocument) {
        priced.exactCost = grid.minimumPerDocument;
        priced.minimumApplied = true;
    }
    priced.cost = priced.exactCost.RoundedTo(kCents);
    return priced;
}

}  // namespace

BatchQuote QuoteBatch(const BatchSummary& summary, const RateGrid& grid) {
    BatchQuote quote;
    quote.grid = grid;
    PricedWords total;
    bool anyPriced = false;
    bool complete = true;
    for (const auto& document : summary.documents) {
        quote.documents.push_back(PriceDocument(document, grid));
        const auto& priced = quote.documents.back();
        if (!priced) {
            if (document.processed && !document.processingError) complete = false;
            continue;
        }
        anyPriced = true;
        total.weightedWords += priced->weightedWords;
        total.exactCost +=
            grid.rounding == Rounding::PerDocument ? priced->cost : priced->exactCost;
    }
    if (anyPriced && total.exactCost < grid.minimumPerJob) {
        total.exactCost = grid.minimumPerJob;
        total.minimumApplied = true;
    }
    total.cost = total.exactCost.RoundedTo(kCents);
    if (complete) quote.total = total;
    return quote;
}

}  // namespace orv::cli
