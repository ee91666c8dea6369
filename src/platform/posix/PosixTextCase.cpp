// Case folding by ICU's own tables, which every POSIX build of the component links anyway.
#include "platform/TextCase.h"

#include <unicode/uchar.h>

namespace orv {

namespace {

char32_t FoldCodePoint(char32_t c) {
    if (c > 0x10FFFF) return c;  // beyond Unicode: no character to fold
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

}  // namespace

std::wstring FoldCase(const std::wstring& text) {
    std::wstring folded;
    folded.reserve(text.size());
    if constexpr (sizeof(wchar_t) >= 4) {
        for (wchar_t c : text)
            folded += static_cast<wchar_t>(FoldCodePoint(static_cast<char32_t>(c)));
    } else {
        // UTF-16: a character beyond the BMP arrives as a surrogate pair; a lone surrogate
        // stays as it is.
        auto IsHighSurrogate = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
        auto IsLowSurrogate = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
        for (std::size_t i = 0; i < text.size(); ++i) {
            char32_t c = static_cast<char16_t>(text[i]);
            if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
            }
            c = FoldCodePoint(c);
            if (c >= 0x10000) {
                folded += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
                folded += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                folded += static_cast<wchar_t>(c);
            }
        }
    }
    return folded;
}

}  // namespace orv
