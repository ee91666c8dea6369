#include "engine/text/Placeholders.h"

#include <unicode/uchar.h>

namespace orv::engine {

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// ICU's, not the C library's: the same in every locale the program runs in.
bool IsLetterOrDigit(wchar_t c) {
    return u_isalnum(static_cast<UChar32>(c));
}

// The length of the printf placeholder at `at` (a "%"), or 0 when none begins there.
std::size_t PrintfLength(std::wstring_view text, std::size_t at) {
    const std::size_t n = text.size();
    const auto isDigit = [&](std::size_t i) { return i < n && IsDigit(text[i]); };
    const auto isOneOf = [&](std::size_t i, std::wstring_view set) {
        return i < n && set.find(text[i]) != std::wstring_view::npos;
    };
    std::size_t i = at + 1;
    if (i < n && text[i] == L'(') {  // %(name)s
        std::size_t close = i + 1;
        while (close < n && (IsLetterOrDigit(text[close]) || text[close] == L'_')) ++close;
        if (close >= n || text[close] != L')' || close == i + 1) return 0;
        i = close + 1;
    } else {
        std::size_t j = i;
        while (isDigit(j)) ++j;
        if (j > i && j < n && text[j] == L'$') i = j + 1;  // %1$s
    }
    while (isOneOf(i, L"-+#0'")) ++i;
    if (i < n && text[i] == L'*') {
        ++i;
    } else {
        while (isDigit(i)) ++i;
    }
    if (i < n && text[i] == L'.') {
        ++i;
        if (i < n && text[i] == L'*') {
            ++i;
        } else {
            while (isDigit(i)) ++i;
        }
    }
    while (isOneOf(i, L"hlLqjzt")) ++i;
    if (isOneOf(i, L"diouxXeEfFgGaAcCsSpn@")) return i + 1 - at;
    // %1, %2: numbered placeholders
    std::size_t j = at + 1;
    while (isDigit(j) && j < at + 3) ++j;
    if (j > at + 1 && text[at + 1] != L'0') return j - at;
    return 0;
}

std::size_t BraceLength(std::wstring_view text, std::size_t at) {
    constexpr std::size_t kLongest = 64;
    std::size_t i = at + 1;
    while (i < text.size() && i - at < kLongest &&
           (IsLetterOrDigit(text[i]) || text[i] == L'_' || text[i] == L'.' || text[i] == L'[' ||
            text[i] == L']'))
        ++i;
    if (i < text.size() && (text[i] == L':' || text[i] == L',') && i > at + 1) {
        while (i < text.size() && i - at < kLongest && text[i] != L'{' && text[i] != L'}' &&
               text[i] != kCodeMark)
            ++i;
    }
    if (i < text.size() && text[i] == L'}') return i + 1 - at;
    return 0;
}

}  // namespace

std::vector<PlaceholderSpan> FindPlaceholders(std::wstring_view text) {
    std::vector<PlaceholderSpan> found;
    std::size_t lastEnd = 0;
    for (std::size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        if (c != L'%' && c != L'{' && c != L'}') {
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == c) {  // %% {{ }}
            i += 2;
            continue;
        }
        const bool percentage = c == L'%' && i > 0 && i != lastEnd && IsDigit(text[i - 1]);
        const std::size_t length = percentage  ? 0
                                   : c == L'%' ? PrintfLength(text, i)
                                   : c == L'{' ? BraceLength(text, i)
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

bool IsPlaceholder(std::wstring_view text) {
    const std::vector<PlaceholderSpan> found = FindPlaceholders(text);
    return found.size() == 1 && found[0].begin == 0 && found[0].length == text.size();
}

bool IsPlaceholderCode(const InlineCode& code) {
    return code.kind == InlineCode::Kind::Standalone && IsPlaceholder(code.content);
}

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
