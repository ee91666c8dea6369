#include "cli/quote/Decimal.h"

#include <algorithm>
#include <limits>

namespace orv::cli {
namespace {

// Products of two amounts need twice the bits of an amount; the compiler's 128-bit integer is
// an extension, and marked so for -Wpedantic.
__extension__ typedef __int128 Wide;

constexpr int64_t kPowersOfTen[] = {1, 10, 100, 1'000, 10'000, 100'000, 1'000'000};

// `value` / `divisor`, halves away from zero; `divisor` is positive.
Wide DivideRounded(Wide value, Wide divisor) {
    Wide quotient = value / divisor;
    const Wide remainder = value % divisor;
    const Wide twice = remainder < 0 ? -2 * remainder : 2 * remainder;
    if (twice >= divisor) quotient += value < 0 ? -1 : 1;
    return quotient;
}

int64_t Narrowed(Wide value) {
    if (value > std::numeric_limits<int64_t>::max() || value < std::numeric_limits<int64_t>::min())
        throw DecimalOverflow();
    return static_cast<int64_t>(value);
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
    return Decimal(Narrowed(static_cast<Wide>(whole) * kScale));
}

std::optional<Decimal> Decimal::Parse(std::string_view text, int maxFractionDigits) {
    if (maxFractionDigits < 0 || maxFractionDigits > kFractionDigits) return std::nullopt;
    Wide units = 0;
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
        units = units * 10 + (c - '0');
        if (units > std::numeric_limits<int64_t>::max()) return std::nullopt;
    }
    if (!anyDigit) return std::nullopt;
    units *= kPowersOfTen[kFractionDigits - fractionDigits];
    if (units > std::numeric_limits<int64_t>::max()) return std::nullopt;
    return Decimal(static_cast<int64_t>(units));
}

Decimal Decimal::operator+(Decimal other) const {
    int64_t sum = 0;
    if (__builtin_add_overflow(units_, other.units_, &sum)) throw DecimalOverflow();
    return Decimal(sum);
}

Decimal Decimal::Times(int64_t count) const {
    int64_t product = 0;
    if (__builtin_mul_overflow(units_, count, &product)) throw DecimalOverflow();
    return Decimal(product);
}

Decimal Decimal::Times(Decimal other) const {
    const Wide product = static_cast<Wide>(units_) * other.units_;
    return Decimal(Narrowed(DivideRounded(product, kScale)));
}

Decimal Decimal::RoundedTo(int digits) const {
    if (digits >= kFractionDigits) return *this;
    if (digits < 0) digits = 0;
    const int64_t step = kPowersOfTen[kFractionDigits - digits];
    return Decimal(Narrowed(DivideRounded(units_, step) * step));
}

std::string Decimal::Format(int digits, bool grouped) const {
    if (digits < 0) digits = 0;
    if (digits > kFractionDigits) digits = kFractionDigits;
    const Wide rounded = RoundedTo(digits).units_;
    const Wide magnitude = rounded < 0 ? -rounded : rounded;
    const std::string whole = std::to_string(static_cast<uint64_t>(magnitude / kScale));
    std::string text = (rounded < 0 ? "-" : "") + (grouped ? Grouped(whole) : whole);
    if (digits == 0) return text;
    std::string fraction = std::to_string(static_cast<uint64_t>(magnitude % kScale));
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
