#pragma once
// The formatting of one run of a Word document, as far as a translator sees it as formatting
// to keep: bold, italic, underline, strike-through, raised or lowered text, capitals, the
// character style, and being a link. Fonts, sizes, colours, languages, proofing marks and the
// editing history are left out: a document edited in several sittings has runs that differ only
// in those, and they must not become codes.

#include <string>

#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class WordStyles;

class WordRunFormatting {
public:
    // Reads the run properties (w:rPr) the reader is at, up to their end.
    static WordRunFormatting Read(XmlPartReader& xml);

    // Whether the run is hidden text, by itself or by its character style.
    bool IsHidden(const WordStyles& styles) const;
    // The key that tells this formatting from another (for FormattedRuns), "" for plain text;
    // `inLink` adds being inside a hyperlink.
    std::string Key(bool inLink) const;

private:
    bool bold_ = false, italic_ = false, underline_ = false, strike_ = false;
    bool smallCaps_ = false, caps_ = false, hidden_ = false;
    std::string verticalAlign_;  // "superscript", "subscript", or "" for the baseline
    std::string style_;          // the character style's id
};

}  // namespace orv::engine
