#pragma once
// Rate grids written as the tests read them: amounts and shares as decimal text.

#include <array>
#include <string>

#include "cli/quote/RateGrid.h"

namespace orv::test {

struct GridText {
    std::string price = "0.10";
    // Percent per band, in band order.
    std::array<const char*, kBandCount> shares = {"100", "100", "100", "100",
                                                  "100", "100", "100", "100"};
    cli::Rounding rounding = cli::Rounding::PerDocument;
    std::string minimumPerDocument = "0";
    std::string minimumPerJob = "0";
};

// The grid the text describes, in EUR; the test fails on text that is no decimal.
cli::RateGrid GridOf(const GridText& text);

}  // namespace orv::test
