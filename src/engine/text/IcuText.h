#pragma once
// Bridges between the engine's strings and ICU's UTF-16 strings, for every unit type of
// CodePoints.h. Both directions keep valid text unchanged, and units that hold no Unicode
// scalar value (a lone surrogate, a number past U+10FFFF) become U+FFFD, so that every
// system sees the same text.

#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include <unicode/unistr.h>

#include "platform/CodePoints.h"

namespace orv::engine {

template <CodeUnit Unit>
icu::UnicodeString ToIcu(std::basic_string_view<Unit> text) {
    icu::UnicodeString result;
    if (text.empty()) return result;
    constexpr std::size_t kMostUtf16PerUnit = kHoldsUtf16<Unit> ? 1 : 2;
    if (text.size() >
        static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) / kMostUtf16PerUnit)
        throw std::length_error("text too long for the Unicode library");
    char16_t* const first = result.getBuffer(static_cast<int32_t>(text.size() * kMostUtf16PerUnit));
    if (first == nullptr) throw std::bad_alloc();
    char16_t* to = first;
    for (const DecodedCodePoint& c : CodePoints<Unit>(text)) to = EncodeCodePoint(c.value, to);
    result.releaseBuffer(static_cast<int32_t>(to - first));
    return result;
}
inline icu::UnicodeString ToIcu(std::wstring_view text) {
    return ToIcu<wchar_t>(text);
}

template <CodeUnit Unit>
std::basic_string<Unit> FromIcu(const char16_t* text, int32_t length) {
    return ConvertUnits<Unit, char16_t>(
        std::u16string_view(text, static_cast<std::size_t>(length > 0 ? length : 0)));
}
inline std::wstring FromIcu(const char16_t* text, int32_t length) {
    return FromIcu<wchar_t>(text, length);
}
inline std::wstring FromIcu(const icu::UnicodeString& text) {
    return FromIcu<wchar_t>(text.getBuffer(), text.length());
}

// The NFC form of `text`, without a copy when it already is.
icu::UnicodeString ToNfc(icu::UnicodeString text);

}  // namespace orv::engine
