#pragma once
// A piece of text to translate, with its inline codes (formatting, tags, fields) kept apart
// from the words: each code stands in the text as one kCodeMark character, and `codes`
// holds them in the order of their marks.

#include <string>
#include <vector>

namespace orv::engine {

// Stands for one inline code inside Segment::text (U+FFFC OBJECT REPLACEMENT CHARACTER).
inline constexpr wchar_t kCodeMark = L'\uFFFC';

struct InlineCode {
    enum class Kind {
        Begin,       // opens a paired code (TMX bpt, an HTML start tag)
        End,         // closes it (TMX ept, an HTML end tag)
        Isolated,    // one half of a pair whose other half is outside the segment (TMX it)
        Standalone,  // a code with no partner (TMX ph, an HTML <br/>)
    };
    Kind kind = Kind::Standalone;
    // Pairs a Begin with its End ("i" of bpt/ept, or a number the reader assigns).
    std::wstring pairId;
    // What the code stands for, as written in the source (never counted as text).
    std::wstring content;

    friend bool operator==(const InlineCode&, const InlineCode&) = default;
};

struct Segment {
    std::wstring text;
    std::vector<InlineCode> codes;

    friend bool operator==(const Segment&, const Segment&) = default;
};

}  // namespace orv::engine
