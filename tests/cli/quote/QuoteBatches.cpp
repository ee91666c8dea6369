#include "QuoteBatches.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

cli::Decimal Amount(const std::string& text) {
    const auto amount = cli::Decimal::Parse(text);
    EXPECT_TRUE(amount) << text;
    return amount.value_or(cli::Decimal());
}

}  // namespace

cli::RateGrid GridOf(const GridText& text) {
    cli::RateGrid grid;
    grid.pricePerWord = Amount(text.price);
    grid.currency = "EUR";
    for (std::size_t b = 0; b < kBandCount; ++b)
        grid.shares[b] = cli::Decimal::FromUnits(Amount(text.shares[b]).units() / 100);
    grid.rounding = text.rounding;
    grid.minimumPerDocument = Amount(text.minimumPerDocument);
    grid.minimumPerJob = Amount(text.minimumPerJob);
    grid.file = "/grids/test.ini";
    return grid;
}

}  // namespace orv::test
