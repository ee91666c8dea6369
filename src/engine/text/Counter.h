#pragma once
// What a segment weighs for a translation buyer, counted the same way for every document:
// - words: word tokens that hold a letter or a digit, by the Unicode word boundaries (so
//   "don't" is one word, "e-mail" two, and Chinese or Thai text is split by dictionary);
//   a number, a URL, an e-mail address and a placeholder ("%s", "{0}") are one word each,
//   and a paired inline code inside a word ("<b>Buffer</b>s") leaves it one word;
// - characters: every character except whitespace, punctuation, invisible format and
//   control characters and inline codes (a symbol such as "$" or "+" counts); a placeholder
//   counts the characters it is written with, whether it came as a code or as text;
// - placeables: inline codes, numbers, URLs, e-mail addresses and placeholders, one each.

#include <cstdint>

#include "engine/model/Segment.h"
#include "engine/text/Tokenizer.h"

namespace orv::engine {

struct Counts {
    int64_t words = 0;
    int64_t characters = 0;
    int64_t placeables = 0;

    Counts& operator+=(const Counts& other) {
        words += other.words;
        characters += other.characters;
        placeables += other.placeables;
        return *this;
    }
    friend bool operator==(const Counts&, const Counts&) = default;
};

// Safe to call from several threads at once. Instantiated for wchar_t and char16_t, whose
// counts of the same text are equal.
template <CodeUnit Unit>
Counts CountSegment(const BasicSegment<Unit>& segment);

// The same counts from a segment already tokenised (Tokenize(segment)).
template <CodeUnit Unit>
Counts CountTokens(const BasicTokenizedSegment<Unit>& tokenized);

}  // namespace orv::engine
