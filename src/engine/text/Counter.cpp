#include "engine/text/Counter.h"

#include <unicode/uchar.h>

namespace orv::engine {

namespace {

bool IsCountedCharacter(char32_t c) {
    if (c == kCodeMarkIn<char32_t> || c > 0x10FFFF) return false;
    auto code = static_cast<UChar32>(c);
    int8_t type = u_charType(code);
    return !u_isUWhiteSpace(code) && !u_ispunct(code) && type != U_CONTROL_CHAR &&
           type != U_FORMAT_CHAR;
}

}  // namespace

template <CodeUnit Unit>
Counts CountTokens(const BasicTokenizedSegment<Unit>& tokenized) {
    Counts counts;
    for (const BasicToken<Unit>& token : tokenized.tokens) {
        switch (token.kind) {
            case Token::Kind::Word:
                ++counts.words;
                break;
            case Token::Kind::Number:
            case Token::Kind::Url:
            case Token::Kind::Email:
            case Token::Kind::Placeholder:
                ++counts.words;
                ++counts.placeables;
                break;
            case Token::Kind::Code:
                ++counts.placeables;
                break;
            case Token::Kind::Punctuation:
                break;
        }
    }
    for (const DecodedCodePoint& c : CodePoints(tokenized.normalised))
        if (IsCountedCharacter(c.value)) ++counts.characters;
    return counts;
}

template <CodeUnit Unit>
Counts CountSegment(const BasicSegment<Unit>& segment) {
    return CountTokens(Tokenize(segment));
}

template Counts CountTokens(const TokenizedSegment&);
template Counts CountTokens(const BasicTokenizedSegment<char16_t>&);
template Counts CountSegment(const Segment&);
template Counts CountSegment(const BasicSegment<char16_t>&);

}  // namespace orv::engine
