#include "engine/tm/LanguageIds.h"

#include <unicode/uloc.h>

#include <array>
#include <cstring>

namespace orv::engine {
namespace {

constexpr int32_t kBufferSize = ULOC_FULLNAME_CAPACITY;
// One less than the buffers hold, so that a text ICU cuts off still ends in a zero.
constexpr int32_t kMaxLocaleLength = kBufferSize - 1;

wchar_t FoldTagCharacter(wchar_t c) {
    if (c == L'_') return L'-';
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
    return c;
}

// Windows names Chinese locales without their script ("zh-CN", "zh-TW") when the script is
// the one the region implies; every other language keeps ICU's full tag ("sr-Latn-RS").
std::string WithoutImpliedChineseScript(const std::string& locale) {
    std::array<char, kBufferSize> language{}, script{}, country{}, likely{};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLanguage(locale.c_str(), language.data(), kMaxLocaleLength, &status);
    uloc_getScript(locale.c_str(), script.data(), kMaxLocaleLength, &status);
    uloc_getCountry(locale.c_str(), country.data(), kMaxLocaleLength, &status);
    if (U_FAILURE(status) || std::strcmp(language.data(), "zh") != 0 || script[0] == '\0' ||
        country[0] == '\0') {
        return locale;
    }
    const std::string withoutScript = std::string("zh_") + country.data();
    uloc_addLikelySubtags(withoutScript.c_str(), likely.data(), kMaxLocaleLength, &status);
    if (U_FAILURE(status) || locale != likely.data()) return locale;
    return withoutScript;
}

}  // namespace

std::optional<std::wstring> LanguageTagFromId(int32_t languageId) {
    if (languageId <= 0) return std::nullopt;
    std::array<char, kBufferSize> locale{}, base{}, tag{};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(static_cast<uint32_t>(languageId), locale.data(), kMaxLocaleLength,
                          &status);
    // ICU falls back to the bare language for an id it does not know ("en" for 0xF809); such
    // an answer is refused by asking the way back.
    if (U_FAILURE(status) || locale[0] == '\0' ||
        uloc_getLCID(locale.data()) != static_cast<uint32_t>(languageId)) {
        return std::nullopt;
    }
    // Keywords such as the traditional sort of 1034 are no part of the language.
    uloc_getBaseName(locale.data(), base.data(), kMaxLocaleLength, &status);
    const std::string shortened = WithoutImpliedChineseScript(base.data());
    uloc_toLanguageTag(shortened.c_str(), tag.data(), kMaxLocaleLength, true, &status);
    if (U_FAILURE(status) || tag[0] == '\0') return std::nullopt;
    return std::wstring(tag.data(), tag.data() + std::strlen(tag.data()));
}

std::optional<int32_t> LanguageIdFromTag(const std::wstring& tag) {
    std::string narrow;
    narrow.reserve(tag.size());
    for (wchar_t c : tag) {
        if (c <= L' ' || c > L'~') return std::nullopt;
        narrow.push_back(c == L'_' ? '-' : static_cast<char>(c));
    }
    if (narrow.empty()) return std::nullopt;

    std::array<char, kBufferSize> locale{};
    int32_t parsed = 0;
    UErrorCode status = U_ZERO_ERROR;
    uloc_forLanguageTag(narrow.c_str(), locale.data(), kMaxLocaleLength, &parsed, &status);
    if (U_FAILURE(status) || parsed != static_cast<int32_t>(narrow.size()) || locale[0] == '\0') {
        return std::nullopt;
    }
    const uint32_t id = uloc_getLCID(locale.data());
    if (id == 0 || id > 0x7FFFFFFFu) return std::nullopt;
    return static_cast<int32_t>(id);
}

std::wstring FoldedLanguageTag(std::wstring tag) {
    for (wchar_t& c : tag) c = FoldTagCharacter(c);
    return tag;
}

bool SameLanguageTag(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldTagCharacter(a[i]) != FoldTagCharacter(b[i])) return false;
    }
    return true;
}

}  // namespace orv::engine
