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

namespace orv::engine {

struct Token {
    enum class Kind {
        Word,         // contains a letter or a digit ("don't", "e", "mail", "3rd", "我们")
        Number,       // digits with their inner separators ("42", "3.5", "1,000")
        Punctuation,  // any other visible token: punctuation marks and symbols ("," "$" "+")
        Code,         // one inline code (its kCodeMark)
        Url,          // "https://example.com/a?b", "www.example.com"
        Email,        // "someone@example.com"
        Placeholder,  // "%s", "%1$d", "{0}", "{name}"
    };
    Kind kind = Kind::Word;
    std::wstring text;    // as written, in NFC
    std::wstring folded;  // full Unicode case folding of `text`, for comparing

    friend bool operator==(const Token&, const Token&) = default;
};

struct TokenizedSegment {
    std::vector<Token> tokens;  // in text order, whitespace left out
    std::wstring normalised;    // NormalisedText of the segment
};

TokenizedSegment Tokenize(const Segment& segment);

// The text in NFC, every run of whitespace made one space, trimmed; a placeholder code
// becomes the placeholder it holds, and every other inline code stays as its kCodeMark,
// whatever it stands for. Two segments whose normalised texts are equal are repetitions of
// each other.
std::wstring NormalisedText(const Segment& segment);

// The kinds of the segment's inline codes in text order, placeholder codes left out: the
// formatting that the 100% test and the formatting penalty compare.
std::vector<InlineCode::Kind> FormattingCodeKinds(const Segment& segment);

}  // namespace orv::engine
