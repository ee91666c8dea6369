#pragma once
// Splits a document's blocks into the segments that are matched and counted: each block on
// its own, so that no segment spans two; a block that is a segment already is only trimmed.

#include <optional>
#include <string>
#include <vector>

#include "engine/doc/DocumentText.h"
#include "engine/seg/Segmenter.h"

namespace orv::engine {

class DocumentSegmenter {
public:
    // `language` as for Segmenter; `rulesFile` an SRX file whose rules take the place of the
    // built-in ones, none when empty. Throws an engine error that names the file and what is
    // wrong with it (SrxRules::ReadFile).
    explicit DocumentSegmenter(const std::wstring& language, const std::wstring& rulesFile = L"");

    // The segments of all blocks, in order, trimmed of whitespace; those left with nothing but
    // whitespace and inline codes are dropped. Not to be called from two threads at once.
    std::vector<Segment> Split(const DocumentText& document);

private:
    std::optional<SrxRules> fileRules_;
    std::optional<Segmenter> segmenter_;
};

}  // namespace orv::engine
