#include "results/NumberConversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/AutomationError.h"

namespace orv {

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

}  // namespace

int32_t RoundToLong(double value) {
    if (!std::isfinite(value)) RaiseRuntimeError(kErrOverflow);
    // Explicit halves-to-even, independent of the floating-point rounding mode. The
    // difference to the floor is exact for every double.
    double whole = std::floor(value);
    double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (whole < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        whole > static_cast<double>(std::numeric_limits<int32_t>::max())) {
        RaiseRuntimeError(kErrOverflow);
    }
    return static_cast<int32_t>(whole);
}

double DoubleFromText(const Platform& platform, const std::wstring& text) {
    auto value = platform.ParseNumber(text);
    if (!value) RaiseRuntimeError(kErrTypeMismatch);
    if (!std::isfinite(*value)) RaiseRuntimeError(kErrOverflow);
    return *value;
}

int32_t CountFromText(const Platform& platform, const std::wstring& text) {
    return RoundToLong(DoubleFromText(platform, text));
}

double LeadingNumberValue(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    std::string plain;
    bool nonZeroWhole = false;  // tells an overflow from an underflow below
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        nonZeroWhole = nonZeroWhole || text[i] != L'0';
        plain += static_cast<char>(text[i]);
    }
    if (i < text.size() && text[i] == L'.') {
        plain += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i) plain += static_cast<char>(text[i]);
    }
    if (plain.empty() || plain == ".") return 0.0;

    double value = 0.0;
    auto [last, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = nonZeroWhole ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

wchar_t DecimalSeparatorOf(const std::wstring& nineTenths) {
    for (wchar_t c : nineTenths) {
        if (!IsDigit(c)) return c;
    }
    return L'.';
}

}  // namespace orv
