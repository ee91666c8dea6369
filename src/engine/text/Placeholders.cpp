#include "engine/text/Placeholders.h"

#include <unicode/uchar.h>

namespace orv::engine {

namespace {

template <CodeUnit Unit>
bool IsDigit(Unit c) {
    return c >= Unit{'0'} && c <= Unit{'9'};
}

// ICU's, not the C library's: the same in every locale the program runs in.
bool IsLetterOrDigit(const DecodedCodePoint& c) {
    return u_isalnum(static_cast<UChar32>(c.value));
}

template <CodeUnit Unit>
bool IsOneOf(Unit c, std::string_view set) {
    return UnitValue(c) < 0x80 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

// The length of the printf placeholder at `at` (a "%"), or 0 when none begins there.
template <CodeUnit Unit>
std::size_t PrintfLength(std::basic_string_view<Unit> text, std::size_t at) {
    const std::size_t n = text.size();
    const auto isDigit = [&](std::size_t i) { return i < n && IsDigit(text[i]); };
    const auto isOneOf = [&](std::size_t i, std::string_view set) {
        return i < n && IsOneOf(text[i], set);
    };
    std::size_t i = at + 1;
    if (isOneOf(i, "(")) {  // %(name)s
        std::size_t close = i + 1;
        while (close < n) {
            const DecodedCodePoint c = DecodeCodePoint(text, close);
            if (!IsLetterOrDigit(c) && c.value != U'_') break;
            close += c.length;
        }
        if (!isOneOf(close, ")") || close == i + 1) return 0;
        i = close + 1;
    } else {
        std::size_t j = i;
        while (isDigit(j)) ++j;
        if (j > i && isOneOf(j, "$")) i = j + 1;  // %1$s
    }
    while (isOneOf(i, "-+#0'")) ++i;
    if (isOneOf(i, "*")) {
        ++i;
    } else {
        while (isDigit(i)) ++i;
    }
    if (isOneOf(i, ".")) {
        ++i;
        if (isOneOf(i, "*")) {
            ++i;
        } else {
            while (isDigit(i)) ++i;
        }
    }
    while (isOneOf(i, "hlLqjzt")) ++i;
    if (isOneOf(i, "diouxXeEfFgGaAcCsSpn@")) return i + 1 - at;
    // %1, %2: numbered placeholders
    std::size_t j = at + 1;
    while (isDigit(j) && j < at + 3) ++j;
    if (j > at + 1 && text[at + 1] != Unit{'0'}) return j - at;
    return 0;
}

// The length of the braced placeholder at `at` (a "{"), or 0 when none begins there.
template <CodeUnit Unit>
std::size_t BraceLength(std::basic_string_view<Unit> text, std::size_t at) {
    constexpr std::size_t kLongest = 64;  // characters, the brace included
    const std::size_t n = text.size();
    std::size_t i = at + 1;
    std::size_t characters = 1;
    while (i < n && characters < kLongest) {
        const DecodedCodePoint c = DecodeCodePoint(text, i);
        if (!IsLetterOrDigit(c) && !IsOneOf(text[i], "_.[]")) break;
        i += c.length;
        ++characters;
    }
    if (i < n && IsOneOf(text[i], ":,") && i > at + 1) {
        while (i < n && characters < kLongest && !IsOneOf(text[i], "{}") &&
               text[i] != kCodeMarkIn<Unit>) {
            i += DecodeCodePoint(text, i).length;
            ++characters;
        }
    }
    if (i < n && text[i] == Unit{'}'}) return i + 1 - at;
    return 0;
}

}  // namespace

template <CodeUnit Unit>
std::vector<PlaceholderSpan> FindPlaceholders(std::basic_string_view<Unit> text) {
    std::vector<PlaceholderSpan> found;
    std::size_t lastEnd = 0;
    for (std::size_t i = 0; i < text.size();) {
        const Unit c = text[i];
        if (!IsOneOf(c, "%{}")) {
            ++i;  // a unit of a surrogate pair is none of these either
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == c) {  // %% {{ }}
            i += 2;
            continue;
        }
        const bool percent = c == Unit{'%'};
        const bool percentage = percent && i > 0 && i != lastEnd && IsDigit(text[i - 1]);
        const std::size_t length = percentage       ? 0
                                   : percent        ? PrintfLength(text, i)
                                   : c == Unit{'{'} ? BraceLength(text, i)
                                                    : 0;
        if (length == 0) {
            ++i;
            continue;
        }
        found.push_back({i, length});
        i += length;
        lastEnd = i;
    }
    return found;
}

template <CodeUnit Unit>
bool IsPlaceholder(std::basic_string_view<Unit> text) {
    const std::vector<PlaceholderSpan> found = FindPlaceholders(text);
    return found.size() == 1 && found[0].begin == 0 && found[0].length == text.size();
}

// wchar_t for the engine; char16_t runs the path of a system whose wchar_t holds UTF-16.
template std::vector<PlaceholderSpan> FindPlaceholders<wchar_t>(std::wstring_view);
template std::vector<PlaceholderSpan> FindPlaceholders<char16_t>(std::u16string_view);
template bool IsPlaceholder<wchar_t>(std::wstring_view);
template bool IsPlaceholder<char16_t>(std::u16string_view);

Segment PlaceholdersAsTextWhenAlone(Segment segment) {
    bool placeholder = false;
    std::size_t code = 0;
    for (wchar_t c : segment.text) {
        if (c != kCodeMark) {
            if (!u_isUWhiteSpace(static_cast<UChar32>(c))) return segment;
            continue;
        }
        placeholder =
            placeholder || (code < segment.codes.size() && IsPlaceholderCode(segment.codes[code]));
        ++code;
    }
    if (!placeholder) return segment;
    Segment written;
    code = 0;
    for (wchar_t c : segment.text) {
        if (c != kCodeMark) {
            written.text += c;
            continue;
        }
        if (code < segment.codes.size() && IsPlaceholderCode(segment.codes[code])) {
            written.text += segment.codes[code].content;
        } else {
            written.text += kCodeMark;
            if (code < segment.codes.size()) written.codes.push_back(segment.codes[code]);
        }
        ++code;
    }
    return written;
}

}  // namespace orv::engine
