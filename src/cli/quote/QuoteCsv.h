#pragma once
// The quote as a CSV file beside the CSV log, whose own format stays as it is: a header line,
// one row per document in batch order, then a row "Total". Separated by ";" with a point
// for decimals, as the CSV log is; a cell holding ";", a quote or a line break is quoted.
//
//     File;Status;Words;Weighted words;Cost;Exact cost;Minimum applied;Currency
//
// Status is "analysed", "not analysed" (no cost) or "not priced" (the log lacked a band the
// grid pays for). Cost is to the cent; with rounding "total" the documents' cents are for
// reading and the total row's cost is the one to invoice. Exact cost has every digit.

#include <string>

#include "cli/quote/BatchQuote.h"

namespace orv::cli {

// In the system's narrow encoding, lines ended by "\r\n" as in the CSV log.
std::string QuoteCsvText(const BatchSummary& summary, const BatchQuote& quote);

}  // namespace orv::cli
