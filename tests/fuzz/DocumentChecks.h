#pragma once
// What every document reader must give for any input, checked by the fuzz targets: blocks or
// an AutomationError; and blocks, and the segments they split into, with as many codes as
// marks. Anything else is a finding (std::abort, so that libFuzzer keeps the input).

#include <cstdlib>
#include <string_view>

#include "engine/doc/DocumentSegmenter.h"
#include "engine/formats/Document.h"
#include "platform/AutomationError.h"

namespace orv::fuzz {

inline bool MarksMatchCodes(const engine::Segment& segment) {
    std::size_t marks = 0;
    for (wchar_t c : segment.text) marks += c == engine::kCodeMark;
    return marks == segment.codes.size();
}

inline void CheckDocument(std::string_view bytes, engine::DocumentFormat format,
                          const engine::DocumentSettings& settings) {
    static engine::DocumentSegmenter segmenter(L"en");
    engine::DocumentText document;
    try {
        document = engine::ReadDocumentBytes(bytes, format, settings);
    } catch (const orv::AutomationError&) {
        return;  // a damaged file is refused, as it may be
    }
    if (document.taggingErrors < 0) std::abort();
    for (const engine::TextBlock& block : document.blocks)
        if (!MarksMatchCodes(block.text)) std::abort();
    for (const engine::Segment& segment : segmenter.Split(document))
        if (!MarksMatchCodes(segment)) std::abort();
}

}  // namespace orv::fuzz
