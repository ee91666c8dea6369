#include "engine/text/IcuText.h"

#include <unicode/normalizer2.h>
#include <unicode/utf16.h>

namespace orv::engine {

icu::UnicodeString ToIcu(std::wstring_view text) {
    if constexpr (sizeof(wchar_t) == 4) {
        return icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(text.data()),
                                             static_cast<int32_t>(text.size()));
    } else {
        icu::UnicodeString result(reinterpret_cast<const char16_t*>(text.data()),
                                  static_cast<int32_t>(text.size()));
        // Same repair as the UTF-32 path, so that both platforms see the same text.
        for (int32_t i = 0; i < result.length();) {
            UChar32 c = result.char32At(i);
            if (U_IS_SURROGATE(c)) result.setCharAt(i, 0xFFFD);
            i += U16_LENGTH(c);
        }
        return result;
    }
}

std::wstring FromIcu(const char16_t* text, int32_t length) {
    std::wstring result;
    result.reserve(static_cast<std::size_t>(length));
    if constexpr (sizeof(wchar_t) == 4) {
        for (int32_t i = 0; i < length;) {
            UChar32 c;
            U16_NEXT(text, i, length, c);
            result += static_cast<wchar_t>(U_IS_SURROGATE(c) ? 0xFFFD : c);
        }
    } else {
        result.assign(reinterpret_cast<const wchar_t*>(text), static_cast<std::size_t>(length));
    }
    return result;
}

icu::UnicodeString ToNfc(icu::UnicodeString text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return text;  // no normalisation data: compare as written
    if (nfc->quickCheck(text, status) == UNORM_YES && U_SUCCESS(status)) return text;
    status = U_ZERO_ERROR;
    icu::UnicodeString normalised = nfc->normalize(text, status);
    return U_SUCCESS(status) ? normalised : text;
}

}  // namespace orv::engine
