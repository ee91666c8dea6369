#include <climits>
#include <stdexcept>

#include "platform/NarrowText.h"

#include "platform/win32/WindowsApi.h"

namespace orv {

namespace {

constexpr wchar_t kReplacement = L'\uFFFD';

// The conversion functions count in int.
int Length(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long");
    return static_cast<int>(size);
}

bool AnsiIsUtf8() {
    return GetACP() == CP_UTF8;
}

// Each character on its own, so that one invalid byte costs one replacement character and
// the rest is kept: a lead byte with its trail byte where the code page has such pairs.
std::wstring FromNarrowPiecewise(const std::string& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<BYTE>(bytes[i]);
        const std::size_t length = IsDBCSLeadByteEx(CP_ACP, lead) && i + 1 < bytes.size() ? 2 : 1;
        wchar_t converted[2];
        const int got = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data() + i,
                                            static_cast<int>(length), converted, 2);
        if (got > 0) {
            text.append(converted, static_cast<std::size_t>(got));
            i += length;
        } else {
            text += kReplacement;
            ++i;
        }
    }
    return text;
}

}  // namespace

std::string ToNarrow(const std::wstring& text) {
    if (text.empty()) return {};
    // Without best fit, a character the code page lacks becomes '?' instead of a look-alike:
    // a full-width quote must not turn into the '"' that ends a quoted path. UTF-8 takes no
    // flags, and represents everything.
    const DWORD flags = AnsiIsUtf8() ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = Length(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string(text.size(), '?');
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

std::wstring FromNarrow(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int length = Length(bytes.size());
    // Windows itself puts U+FFFD for invalid UTF-8; other code pages refuse the whole text
    // with MB_ERR_INVALID_CHARS, and are then read piece by piece.
    const DWORD flags = AnsiIsUtf8() ? 0 : MB_ERR_INVALID_CHARS;
    const int size = MultiByteToWideChar(CP_ACP, flags, bytes.data(), length, nullptr, 0);
    if (size <= 0) return FromNarrowPiecewise(bytes);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, flags, bytes.data(), length, text.data(), size);
    return text;
}

std::string NarrowEncodingName() {
    return "Windows-" + std::to_string(GetACP());
}

}  // namespace orv
