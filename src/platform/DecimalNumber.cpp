#include "platform/DecimalNumber.h"

#include <charconv>
#include <system_error>

namespace orv {

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

std::optional<double> ParseDecimalNumber(const std::wstring& text, const std::wstring& separator) {
    std::size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;

    // The text is checked here and rewritten in the locale-free form that from_chars reads,
    // so "nan", "inf", hex and a foreign decimal separator never get through.
    std::string plain;
    auto copyDigits = [&] {
        std::size_t count = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++count) plain += static_cast<char>(text[i]);
        return count;
    };
    bool negative = false;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    std::size_t digits = copyDigits();
    if (!separator.empty() && end - i >= separator.size() &&
        text.compare(i, separator.size(), separator) == 0) {
        i += separator.size();
        plain += '.';
        digits += copyDigits();
    }
    if (digits == 0) return std::nullopt;
    if (i < end && (text[i] == L'e' || text[i] == L'E')) {
        plain += 'e';
        if (++i < end && (text[i] == L'+' || text[i] == L'-'))
            plain += static_cast<char>(text[i++]);
        if (copyDigits() == 0) return std::nullopt;
    }
    if (i != end) return std::nullopt;

    double value = 0;
    auto [last, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || last != plain.data() + plain.size()) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace orv
