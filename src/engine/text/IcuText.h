#pragma once
// Bridges between the engine's std::wstring and ICU's UTF-16 strings. wchar_t holds UTF-32
// on POSIX and UTF-16 on Windows; both directions keep valid text unchanged, and a value
// that is no Unicode scalar value (a lone surrogate, a number past U+10FFFF) becomes U+FFFD.

#include <cstdint>
#include <string>
#include <string_view>

#include <unicode/unistr.h>

namespace orv::engine {

icu::UnicodeString ToIcu(std::wstring_view text);
std::wstring FromIcu(const char16_t* text, int32_t length);
inline std::wstring FromIcu(const icu::UnicodeString& text) {
    return FromIcu(text.getBuffer(), text.length());
}

// The NFC form of `text`, without a copy when it already is.
icu::UnicodeString ToNfc(icu::UnicodeString text);

}  // namespace orv::engine
