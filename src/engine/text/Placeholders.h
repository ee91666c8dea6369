#pragma once
// The placeholders a program fills in when it shows a message: printf's ("%s", "%1$s",
// "%(name)s", "%-10.3lf", "%@"), numbered ones ("%1" to "%99") and braced ones ("{0}",
// "{name}", "{0:N2}", "{}"). A reader that turns them into inline codes and the tokenizer
// that meets them as plain text both go by these rules, so that the same message gives the
// same tokens whichever way it comes.

#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/model/Segment.h"
#include "platform/CodePoints.h"

namespace orv::engine {

struct PlaceholderSpan {
    std::size_t begin;
    std::size_t length;
};

// The placeholders of `text`, left to right. "%%", "{{" and "}}" stand for the character
// itself; a "%" right after a digit is a percentage ("50%off"), unless that digit ends a
// placeholder ("%1%2"). A placeholder never holds a code mark. Spans are in units of
// `text`; the longest names and formats are limited in characters, so that UTF-16 and
// UTF-32 text give the same placeholders. Instantiated for wchar_t and char16_t.
template <CodeUnit Unit>
std::vector<PlaceholderSpan> FindPlaceholders(std::basic_string_view<Unit> text);
inline std::vector<PlaceholderSpan> FindPlaceholders(std::wstring_view text) {
    return FindPlaceholders<wchar_t>(text);
}

// Whether `text` is one placeholder and nothing else.
template <CodeUnit Unit>
bool IsPlaceholder(std::basic_string_view<Unit> text);
inline bool IsPlaceholder(std::wstring_view text) {
    return IsPlaceholder<wchar_t>(text);
}

// Whether `code` stands for a placeholder: a standalone code whose content is one. Such a
// code is compared as the text it holds, not as formatting.
template <CodeUnit Unit>
bool IsPlaceholderCode(const BasicInlineCode<Unit>& code) {
    return code.kind == InlineCodeKind::Standalone &&
           IsPlaceholder(std::basic_string_view<Unit>(code.content));
}

// A segment of nothing but inline codes and whitespace, some of them placeholders ("%s"),
// with those placeholders written out as text: a segment without text is dropped, and a
// message that is only a placeholder is still one word to translate around. Any other
// segment is returned as it is.
Segment PlaceholdersAsTextWhenAlone(Segment segment);

}  // namespace orv::engine
