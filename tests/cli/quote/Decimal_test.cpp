#include "cli/quote/Decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv::cli {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

Decimal Units(int64_t units) {
    return Decimal::FromUnits(units);
}

TEST(Decimal, ParsesPlainDecimalTextExactlyDigitByDigit) {
    const struct {
        const char* text;
        int64_t units;
    } cases[] = {
        {"0.085", 85'000},
        {"12", 12'000'000},
        {".5", 500'000},
        {"3.", 3'000'000},
        {"0.000001", 1},
        {"0.1", 100'000},
        {"007.50", 7'500'000},
        {"0", 0},
        {"9223372036854.775807", kMax},
        {"1234567.890123", 1'234'567'890'123},
    };
    for (const auto& c : cases) {
        const auto parsed = Decimal::Parse(c.text);
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(parsed->units(), c.units) << c.text;
    }
}

TEST(Decimal, RefusesTextThatIsNoPlainDecimalOrDoesNotFit) {
    for (const char* text :
         {"", ".", "-1", "+1", "1,5", "1.2.3", "1e3", " 1", "1 ", "0x10", "0.0000001",
          "9223372036854.775808", "99999999999999999999", "\xd9\xa3", "12abc"}) {
        EXPECT_FALSE(Decimal::Parse(text)) << text;
    }
    EXPECT_FALSE(Decimal::Parse("33.33333", 4));
    EXPECT_EQ(Decimal::Parse("33.3333", 4)->units(), 33'333'300);
}

TEST(Decimal, RoundsToTheCentWithHalvesAwayFromZero) {
    const struct {
        int64_t units, cents;
    } cases[] = {
        {2'345'000, 235}, {2'344'999, 234}, {5'000, 1},       {4'999, 0}, {-2'345'000, -235},
        {-5'000, -1},     {-4'999, 0},      {1'995'000, 200}, {0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Units(c.units).RoundedTo(2).units(), c.cents * 10'000) << c.units;
    }
    EXPECT_THROW(Units(kMax).RoundedTo(2), DecimalOverflow) << "9223372036854.78 does not fit";
}

TEST(Decimal, ProductsRoundToSixDigitsAndCountsMultiplyExactly) {
    const struct {
        const char *a, *b, *product;
    } cases[] = {
        {"38.25", "0.085", "3.25125"},
        {"0.000001", "0.5", "0.000001"},
        {"0.000001", "0.499999", "0.00"},
        {"3", "0.333333", "0.999999"},
        {"1234567.89", "1000", "1234567890.00"},
        // Both factors with whole and fractional parts, and a half in the last digit.
        {"123456.789012", "654.321098", "80780381.741886"},
        {"9999999.999999", "0.5", "5000000.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decimal::Parse(c.a)->Times(*Decimal::Parse(c.b)).ExactText(), c.product)
            << c.a << " x " << c.b;
    }
    EXPECT_EQ(Decimal::Parse("0.333333")->Times(int64_t{7}).ExactText(), "2.333331");
    EXPECT_EQ(Units(-1'500'000).Times(*Decimal::Parse("0.000001")).ExactText(), "-0.000002")
        << "a negative half rounds away from zero too";
}

TEST(Decimal, EveryOperationThatLeavesTheRangeThrowsInsteadOfWrapping) {
    EXPECT_THROW(Units(kMax) + Units(1), DecimalOverflow);
    EXPECT_THROW(Units(kMax / 2 + 1).Times(int64_t{2}), DecimalOverflow);
    EXPECT_THROW(Decimal::FromWhole(10'000'000'000'000), DecimalOverflow);
    EXPECT_THROW(Decimal::FromWhole(4'000'000).Times(Decimal::FromWhole(4'000'000)),
                 DecimalOverflow);
    EXPECT_NO_THROW(Decimal::FromWhole(3'000'000).Times(Decimal::FromWhole(3'000'000)));
}

TEST(Decimal, FormatsGroupedToTheCentOrWithEveryDigit) {
    EXPECT_EQ(Decimal::Parse("999999.995")->Format(2, true), "1,000,000.00");
    EXPECT_EQ(Units(-500'000).Format(2), "-0.50");
    EXPECT_EQ(Decimal::Parse("12.5")->ExactText(), "12.50");
    EXPECT_EQ(Decimal::Parse("30")->ExactText(0), "30");
    EXPECT_EQ(Decimal::Parse("33.3330")->ExactText(0), "33.333");
    EXPECT_EQ(Units(kMax).ExactText(), "9223372036854.775807");
}

}  // namespace
}  // namespace orv::cli
