#pragma once
// The number rules of the analysis log: whole counts and decimal values read the way the
// user's locale writes numbers, with the automation errors a client expects from a failed
// conversion (13 type mismatch for text that is no number, 6 overflow for a value out of
// range).

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace orv {

// `value` rounded to the nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4), as a
// 32-bit integer. Raises 6 when the value is not finite or the result lies outside 32 bits.
int32_t RoundToLong(double value);

// The count rule: `text` read as a number in the platform's locale, then RoundToLong.
// Raises 13 when the text (an empty one too) is no number, 6 when the value is out of range.
int32_t CountFromText(const Platform& platform, const std::wstring& text);

// `text` read as a number in the platform's locale. Raises 13 when it is no number, 6 when
// the value is not finite.
double DoubleFromText(const Platform& platform, const std::wstring& text);

// The value of the number at the start of `text`, with "." as the decimal point whatever
// the locale: leading spaces, an optional sign, digits, an optional "." and more digits; the
// reading stops at the first other character, and a text without digits there is 0. A value
// too large for a double is infinite.
double LeadingNumberValue(const std::wstring& text);

// The decimal separator in the platform's writing of 0.9 ("0.9", "0,9"): the first
// character that is not a digit; "." when there is none.
wchar_t DecimalSeparatorOf(const std::wstring& nineTenths);

}  // namespace orv
