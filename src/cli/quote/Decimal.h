#pragma once
// Money and weighted words: a fixed-point decimal with six fractional digits, so that a price
// of 0.085 a word and a share of 33.3333% are held exactly. Binary floating point would turn
// 0.1 into 0.1000000000000000055..., and a quote summed over many documents would then be
// off by cents that a buyer can check. Every operation that would leave the 64-bit range
// throws DecimalOverflow instead of wrapping.

#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orv::cli {

struct DecimalOverflow : std::overflow_error {
    DecimalOverflow() : std::overflow_error("a figure of the quote is too large to compute") {}
};

class Decimal {
public:
    static constexpr int kFractionDigits = 6;
    static constexpr int64_t kScale = 1'000'000;

    constexpr Decimal() = default;
    static constexpr Decimal FromUnits(int64_t millionths) { return Decimal(millionths); }
    static Decimal FromWhole(int64_t whole);

    // Plain decimal text: ASCII digits with at most one "." and at most `maxFractionDigits`
    // digits after it ("12", "0.085", ".5", "3."). No sign, exponent, grouping or spaces: a
    // grid is read by people and programs alike, and "1,5" or "1e3" are more likely slips
    // than meant. Read digit by digit, never through a binary double. Nothing when the text
    // is not such a number or does not fit.
    static std::optional<Decimal> Parse(std::string_view text,
                                        int maxFractionDigits = kFractionDigits);

    constexpr int64_t units() const { return units_; }

    Decimal operator+(Decimal other) const;
    Decimal& operator+=(Decimal other) { return *this = *this + other; }
    // Exact: a count of words times a share.
    Decimal Times(int64_t count) const;
    // The product rounded to six fractional digits, halves away from zero.
    Decimal Times(Decimal other) const;
    // Rounded to `digits` fractional digits (0 to 6), halves away from zero: 2.345 becomes
    // 2.35 and -2.345 becomes -2.35, as invoices round.
    Decimal RoundedTo(int digits) const;

    // Exactly `digits` fractional digits (rounded as RoundedTo), thousands grouped with ","
    // when `grouped`: "1,234.50".
    std::string Format(int digits, bool grouped = false) const;
    // Every digit there is, trailing zeros dropped down to `minimumDigits`: "12.50",
    // "3.333333", "0.085"; with 0, "30" and "33.3333" for percents.
    std::string ExactText(int minimumDigits = 2) const;

    friend constexpr auto operator<=>(Decimal, Decimal) = default;

private:
    constexpr explicit Decimal(int64_t units) : units_(units) {}
    int64_t units_ = 0;
};

}  // namespace orv::cli
