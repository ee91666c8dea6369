#pragma once
// Numbers written the way a locale writes them, given its decimal separator: the reading that
// every platform's ParseNumber shares, so that the same text is a number on each of them.

#include <optional>
#include <string>

namespace orv {

// Reads blanks (spaces, tabs) around, an optional sign, digits with at most one `separator`,
// and an exponent ("1,5e3"); no thousands grouping, "nan", "inf" or hex. nullopt for any
// other text and for a value too large for a double.
std::optional<double> ParseDecimalNumber(const std::wstring& text, const std::wstring& separator);

}  // namespace orv
