#pragma once
// A segment as the matcher and the counter see it: its tokens (words, numbers, punctuation,
// inline codes, URLs, e-mail addresses, placeholders) and its normalised text, the form in
// which two segments that a reader takes for the same text are equal.
//
// Words follow the Unicode word boundaries (UAX #29, with ICU's dictionaries for Chinese,
// Japanese, Thai and the like), so "don't" and "3.5" are one token each. A URL or an e-mail
// address is one token whatever its inner punctuation, and so is a placeholder ("%1$s",
// "{0}", Placeholders.h), whether a reader made it a code or it is written as text: the two
// are the same token and the same normalised text. A paired code inside a word
// ("<b>Buffer</b>s") splits it not; a standalone code does. Every function here may be
// called from several threads at once.

#include <string>
#include <vector>

#include "engine/model/Segment.h"
#include "platform/CodePoints.h"

namespace orv::engine {

enum class TokenKind {
    Word,         // contains a letter or a digit ("don't", "e", "mail", "3rd", "我们")
    Number,       // digits with their inner separators ("42", "3.5", "1,000")
    Punctuation,  // any other visible token: punctuation marks and symbols ("," "$" "+")
    Code,         // one inline code (its kCodeMark)
    Url,          // "https://example.com/a?b", "www.example.com"
    Email,        // "someone@example.com"
    Placeholder,  // "%s", "%1$d", "{0}", "{name}"
};

template <CodeUnit Unit>
struct BasicToken {
    using Kind = TokenKind;
    Kind kind = Kind::Word;
    std::basic_string<Unit> text;    // as written, in NFC
    std::basic_string<Unit> folded;  // full Unicode case folding of `text`, for comparing

    friend bool operator==(const BasicToken&, const BasicToken&) = default;
};
using Token = BasicToken<wchar_t>;

template <CodeUnit Unit>
struct BasicTokenizedSegment {
    std::vector<BasicToken<Unit>> tokens;  // in text order, whitespace left out
    std::basic_string<Unit> normalised;    // NormalisedText of the segment
};
using TokenizedSegment = BasicTokenizedSegment<wchar_t>;

// The functions below are instantiated for wchar_t, the engine's own strings, and for
// char16_t, which takes the path of a system whose wchar_t holds UTF-16.

template <CodeUnit Unit>
BasicTokenizedSegment<Unit> Tokenize(const BasicSegment<Unit>& segment);

// The text in NFC, every run of whitespace made one space, trimmed; a placeholder code
// becomes the placeholder it holds, and every other inline code stays as its kCodeMark,
// whatever it stands for. Two segments whose normalised texts are equal are repetitions of
// each other.
template <CodeUnit Unit>
std::basic_string<Unit> NormalisedText(const BasicSegment<Unit>& segment);

// The kinds of the segment's inline codes in text order, placeholder codes left out: the
// formatting that the 100% test and the formatting penalty compare.
template <CodeUnit Unit>
std::vector<InlineCodeKind> FormattingCodeKinds(const BasicSegment<Unit>& segment);

}  // namespace orv::engine
