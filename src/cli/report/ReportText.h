#pragma once
// Text helpers the three renderers share: names, numbers and escaping. File names come from
// the user's batch and may hold anything a file system allows, control characters included.

#include <cstdint>
#include <string>

namespace orv::cli {

// The last component of a path, with "\" and "/" both taken as separators so that a batch
// written on either system shows its file names; the whole path when it ends in a separator.
std::wstring DisplayName(const std::wstring& path);

// `text` cut in the middle to at most `width` characters, the cut marked by "...".
std::wstring ShortenMiddle(const std::wstring& text, std::size_t width);

// Control characters replaced by '?', so that a name cannot move the cursor, recolour the
// terminal or break a line.
std::wstring WithoutControlCharacters(const std::wstring& text);

// A count with its thousands grouped ("12,345"); "n/a" for an unknown (negative) count.
std::string FormatCount(int64_t count);
// A percentage ("95%"); "n/a" when unknown.
std::string FormatPercent(int64_t percent);
// Characters per word with two decimals; "n/a" when unknown (negative).
std::string FormatCharsPerWord(double charsPerWord);

// UTF-8, whatever the locale; characters that have no code point (lone surrogates of a
// 16-bit wchar_t) become U+FFFD.
std::string ToUtf8(const std::wstring& text);

// `text` as UTF-8 safe in HTML text and in a quoted attribute value. Characters HTML does
// not allow (C0 and C1 controls other than tab and line breaks) become U+FFFD.
std::string HtmlEscape(const std::wstring& text);
std::string HtmlEscape(const std::string& utf8);

}  // namespace orv::cli
