#include "cli/quote/Decimal.h"

#include <algorithm>
#include <limits>

namespace orv::cli {
namespace {

constexpr int64_t kPowersOfTen[] = {1, 10, 100, 1'000, 10'000, 100'000, 1'000'000};

// `value` / `divisor`, halves away from zero; `divisor` is positive and at most kScale, so
// twice the remainder cannot overflow.
int64_t DivideRounded(int64_t value, int64_t divisor) {
    int64_t quotient = value / divisor;
    const int64_t remainder = value % divisor;
    const int64_t twice = remainder < 0 ? -2 * remainder : 2 * remainder;
    if (twice >= divisor) quotient += value < 0 ? -1 : 1;
    return quotient;
}

int64_t Add(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw DecimalOverflow();
    return sum;
}
int64_t Multiply(int64_t a, int64_t b) {
    int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) throw DecimalOverflow();
    return product;
}

std::string Grouped(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

Decimal Decimal::FromWhole(int64_t whole) {
    return Decimal(Multiply(whole, kScale));
}

std::optional<Decimal> Decimal::Parse(std::string_view text, int maxFractionDigits) {
    if (maxFractionDigits < 0 || maxFractionDigits > kFractionDigits) return std::nullopt;
    int64_t units = 0;
    int fractionDigits = 0;
    bool point = false;
    bool anyDigit = false;
    for (const char c : text) {
        if (c == '.') {
            if (point) return std::nullopt;
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        anyDigit = true;
        if (point && ++fractionDigits > maxFractionDigits) return std::nullopt;
        if (__builtin_mul_overflow(units, 10, &units) ||
            __builtin_add_overflow(units, c - '0', &units))
            return std::nullopt;
    }
    if (!anyDigit) return std::nullopt;
    if (__builtin_mul_overflow(units, kPowersOfTen[kFractionDigits - fractionDigits], &units))
        return std::nullopt;
    return Decimal(units);
}

Decimal Decimal::operator+(Decimal other) const {
    return Decimal(Add(units_, other.units_));
}

Decimal Decimal::Times(int64_t count) const {
    return Decimal(Multiply(units_, count));
}

// a × b / kScale in 64 bits, as a = aq·kScale + ar and b = bq·kScale + br: aq·b and ar·bq are
// whole units, and only ar·br / kScale has a fraction to round. Every term has the sign of the
// product (division truncates toward zero), so rounding that term away from zero rounds the
// whole product so.
Decimal Decimal::Times(Decimal other) const {
    const int64_t aq = units_ / kScale, ar = units_ % kScale;
    const int64_t bq = other.units_ / kScale, br = other.units_ % kScale;
    const int64_t whole = Add(Multiply(aq, other.units_), Multiply(ar, bq));
    return Decimal(Add(whole, DivideRounded(ar * br, kScale)));
}

Decimal Decimal::RoundedTo(int digits) const {
    if (digits >= kFractionDigits) return *this;
    if (digits < 0) digits = 0;
    const int64_t step = kPowersOfTen[kFractionDigits - digits];
    return Decimal(Multiply(DivideRounded(units_, step), step));
}

std::string Decimal::Format(int digits, bool grouped) const {
    if (digits < 0) digits = 0;
    if (digits > kFractionDigits) digits = kFractionDigits;
    const int64_t rounded = RoundedTo(digits).units_;
    // In unsigned arithmetic: the negative of the smallest value has no signed form.
    const uint64_t magnitude =
        rounded < 0 ? 0 - static_cast<uint64_t>(rounded) : static_cast<uint64_t>(rounded);
    const std::string whole = std::to_string(magnitude / kScale);
    std::string text = (rounded < 0 ? "-" : "") + (grouped ? Grouped(whole) : whole);
    if (digits == 0) return text;
    std::string fraction = std::to_string(magnitude % kScale);
    fraction.insert(0, static_cast<std::size_t>(kFractionDigits) - fraction.size(), '0');
    return text + "." + fraction.substr(0, static_cast<std::size_t>(digits));
}

std::string Decimal::ExactText(int minimumDigits) const {
    std::string text = Format(kFractionDigits);
    const std::size_t point = text.find('.');
    const std::size_t kept = point + 1 + static_cast<std::size_t>(std::max(minimumDigits, 0));
    while (text.size() > kept && text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace orv::cli
