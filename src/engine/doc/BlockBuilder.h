#pragma once
// Builds the running text of one block, a piece of text and one code at a time, so that the
// text's marks and its codes always stay in step.

#include <string_view>

#include "engine/model/Segment.h"

namespace orv::engine {

class BlockBuilder {
public:
    enum class Spaces {
        Keep,      // as written (preformatted text, XLIFF, PO)
        Collapse,  // each run of ASCII whitespace one space, none at the block's start (HTML)
    };

    void AppendUtf8(std::string_view text, Spaces spaces);
    void Append(std::wstring_view text, Spaces spaces);
    void AppendCode(InlineCode code);
    // Drops the text from `position` on, and the codes of the marks in it.
    void DropFrom(std::size_t position);

    // Whether the block holds a character that is neither whitespace nor a code.
    bool HasText() const;
    const Segment& segment() const { return segment_; }
    // The block so far, trimmed of whitespace; the builder starts afresh.
    Segment Take();

private:
    Segment segment_;
    bool afterSpace_ = true;  // the last character appended was whitespace, or none was
    std::wstring scratch_;
};

}  // namespace orv::engine
