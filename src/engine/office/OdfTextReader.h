#pragma once
// The running text of an OpenDocument body, read as a stream: paragraphs and headings in lists,
// sections, tables, frames and shapes, each a block; formatting inside a paragraph as pairs
// of codes; notes kept for after the body. What a reader of the document does not see, or
// that the application writes by itself, is left out: tracked deletions, comments, hidden
// text and sections, page numbers, dates and times.

#include <functional>
#include <string>
#include <vector>

#include "engine/doc/DocumentText.h"
#include "engine/office/FormattedRuns.h"
#include "engine/office/OdfStyleTable.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

// What the readers of one document share across its parts.
struct OdfReadState {
    OdfStyleTable styles;
    // A note's paragraphs are blocks of their own; otherwise a note is one segment.
    bool multiSegmentNotes = false;
    int nextPair = 1;  // the next pair id of formatting codes, distinct across blocks
    // Footnotes and endnotes of a text, the speaker notes of slides: read after the body.
    std::vector<TextBlock> notes;
};

class OdfTextReader {
public:
    OdfTextReader(XmlPartReader& reader, OdfReadState& state) : reader_(reader), state_(state) {}

    // The blocks inside the current element (the body, a table cell, a frame, a slide), up to
    // its end, appended to `out`.
    void ReadBlocks(std::vector<TextBlock>& out);
    // The headers and footers of the master pages of office:master-styles, the current node;
    // each distinct content once.
    void ReadHeadersAndFooters(std::vector<TextBlock>& out);

private:
    // Visits the block content of the current element: `onParagraph` is called at each text:p
    // and text:h start and reads it to its end. A picture met outside paragraphs (in a frame)
    // sets `*sawPicture`.
    void WalkBlocks(const std::function<void()>& onParagraph, bool* sawPicture = nullptr);
    // The paragraph that is the current node, as a block of `out`, then the blocks of the
    // frames anchored in it.
    void ReadParagraph(std::vector<TextBlock>& out);
    // The runs of the current paragraph; false when the paragraph is hidden.
    bool ReadRuns(FormattedRuns& runs, std::vector<TextBlock>& anchored);
    void ReadNote();
    // A frame or shape inside a paragraph: its paragraphs go to `anchored`; true when it holds
    // a picture or an embedded object.
    bool ReadShape(std::vector<TextBlock>& anchored);

    XmlPartReader& reader_;
    OdfReadState& state_;
};

}  // namespace orv::engine
