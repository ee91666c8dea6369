#pragma once
// A document as its reader gives it: blocks of running text, each split into segments on its
// own, so that no segment spans two blocks (two paragraphs, two table cells, two messages).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/model/Segment.h"
#include "engine/text/DocumentEncoding.h"

namespace orv::engine {

struct TextBlock {
    Segment text;
    // The block is one segment already (an XLIFF segment): it is kept whole, trimmed of
    // whitespace, and never split into sentences.
    bool isSegment = false;

    friend bool operator==(const TextBlock&, const TextBlock&) = default;
};

struct DocumentText {
    std::vector<TextBlock> blocks;
    // Faults of the inline codes in the source (see TaggingErrors.h), for the whole document.
    int64_t taggingErrors = 0;
    // What the analysis log should say of how the document was read (text it could not get).
    std::vector<std::wstring> notes;
    // The encoding the document was read in, and how it was chosen.
    DocumentEncoding encoding;
};

}  // namespace orv::engine
