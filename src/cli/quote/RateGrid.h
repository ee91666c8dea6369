#pragma once
// What a buyer pays for the words of a batch: the price of one new word, the share of it paid
// for a word of each band, the minimum charges and where the cost is rounded to the cent.

#include <array>
#include <string>
#include <string_view>

#include "cli/quote/Decimal.h"
#include "results/StatisticsFields.h"

namespace orv::cli {

// The bands' names in a grid file, in Band order: short, and typed without shifted keys.
inline constexpr std::array<std::string_view, kBandCount> kBandKeys = {
    "repetitions", "100", "95-99", "85-94", "75-84", "50-74", "relayed", "no-match",
};

enum class Rounding {
    // Each document's cost is rounded to the cent; the total is the sum of those.
    PerDocument,
    // The exact costs are summed and only the total is rounded to the cent.
    OnTotal,
};

struct RateGrid {
    Decimal pricePerWord;
    std::string currency;  // as the user wrote it: "EUR", "CHF", "US$"
    // The share of the price paid for a word of each band, as a fraction (0.3 for 30%).
    std::array<Decimal, kBandCount> shares{};
    Decimal minimumPerDocument;  // zero: no minimum
    Decimal minimumPerJob;
    Rounding rounding = Rounding::PerDocument;
    std::string file;  // the file it was read from, for the report

    const Decimal& share(Band band) const { return shares[static_cast<std::size_t>(band)]; }
};

}  // namespace orv::cli
