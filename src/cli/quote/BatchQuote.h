#pragma once
// The payable figures of a batch under a rate grid, worked out once so that the table, the
// JSON, the CSV quote and the HTML report all show the same cents.
//
// - A document's weighted words are the sum over the bands of its words times the band's
//   share; its exact cost is weighted words times the price, raised to the minimum per
//   document when below it.
// - Rounding "document": each document's cost is rounded to the cent, and the job's exact
//   cost is the sum of those rounded costs. Rounding "total": the job's exact cost is the
//   sum of the documents' exact costs; their cents are then for reading only.
// - The job's cost is its exact cost raised to the minimum per job when below it, rounded
//   to the cent. Halves are rounded away from zero.
// - A document that was not analysed has no cost and no minimum, nor has an analysed one
//   without a single word; when no document has words, the job has no minimum either, as
//   there is nothing to deliver.

#include <optional>
#include <vector>

#include "cli/quote/RateGrid.h"
#include "cli/report/BatchSummary.h"

namespace orv::cli {

struct PricedWords {
    Decimal weightedWords;
    Decimal exactCost;  // after the minimum charge, before rounding to the cent
    Decimal cost;       // to the cent
    bool minimumApplied = false;
};

struct BatchQuote {
    RateGrid grid;
    // In the summary's document order; none for a document that was not analysed, or whose
    // log left out the words of a band that the grid pays for.
    std::vector<std::optional<PricedWords>> documents;
    // None when some analysed document could not be priced: a total without it would
    // understate the job.
    std::optional<PricedWords> total;
};

// Throws DecimalOverflow when a figure leaves the range of the arithmetic.
BatchQuote QuoteBatch(const BatchSummary& summary, const RateGrid& grid);

}  // namespace orv::cli
