#include "engine/text/Counter.h"

#include <unicode/uchar.h>

namespace orv::engine {

namespace {

bool IsCountedCharacter(char32_t c) {
    if (c == static_cast<char32_t>(kCodeMark) || c > 0x10FFFF) return false;
    auto code = static_cast<UChar32>(c);
    int8_t type = u_charType(code);
    return !u_isUWhiteSpace(code) && !u_ispunct(code) && type != U_CONTROL_CHAR &&
           type != U_FORMAT_CHAR;
}

}  // namespace

Counts CountTokens(const TokenizedSegment& tokenized) {
    Counts counts;
    for (const Token& token : tokenized.tokens) {
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
    const std::wstring& text = tokenized.normalised;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            // A pair of surrogates is one character.
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        }
        if (IsCountedCharacter(c)) ++counts.characters;
    }
    return counts;
}

Counts CountSegment(const Segment& segment) {
    return CountTokens(Tokenize(segment));
}

}  // namespace orv::engine
