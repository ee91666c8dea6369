#pragma once
// A piece of text to translate, with its inline codes (formatting, tags, fields) kept apart
// from the words: each code stands in the text as one kCodeMark character, and `codes`
// holds them in the order of their marks. The engine holds segments as std::wstring; the
// text functions are templates over the unit type (CodePoints.h) so that a char16_t segment
// takes the path a UTF-16 wchar_t takes.

#include <string>
#include <vector>

#include "platform/CodePoints.h"

namespace orv::engine {

// Stands for one inline code inside Segment::text (U+FFFC OBJECT REPLACEMENT CHARACTER).
template <CodeUnit Unit>
inline constexpr Unit kCodeMarkIn = static_cast<Unit>(0xFFFC);
inline constexpr wchar_t kCodeMark = kCodeMarkIn<wchar_t>;

enum class InlineCodeKind {
    Begin,       // opens a paired code (TMX bpt, an HTML start tag)
    End,         // closes it (TMX ept, an HTML end tag)
    Isolated,    // one half of a pair whose other half is outside the segment (TMX it)
    Standalone,  // a code with no partner (TMX ph, an HTML <br/>)
};

template <CodeUnit Unit>
struct BasicInlineCode {
    using Kind = InlineCodeKind;
    Kind kind = Kind::Standalone;
    // Pairs a Begin with its End ("i" of bpt/ept, or a number the reader assigns).
    std::basic_string<Unit> pairId;
    // What the code stands for, as written in the source (never counted as text).
    std::basic_string<Unit> content;

    friend bool operator==(const BasicInlineCode&, const BasicInlineCode&) = default;
};
using InlineCode = BasicInlineCode<wchar_t>;

template <CodeUnit Unit>
struct BasicSegment {
    std::basic_string<Unit> text;
    std::vector<BasicInlineCode<Unit>> codes;

    friend bool operator==(const BasicSegment&, const BasicSegment&) = default;
};
using Segment = BasicSegment<wchar_t>;

}  // namespace orv::engine
