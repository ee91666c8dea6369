#include "engine/doc/DocumentSegmenter.h"

#include <unicode/uchar.h>

namespace orv::engine {
namespace {

bool IsSpace(wchar_t c) {
    return u_isUWhiteSpace(static_cast<UChar32>(c));
}

// The block trimmed of whitespace, or nothing when it holds no text; as the Segmenter does.
std::optional<Segment> Trimmed(const Segment& block) {
    const std::wstring& text = block.text;
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    bool hasText = false;
    for (std::size_t i = begin; i < end && !hasText; ++i)
        hasText = text[i] != kCodeMark && !IsSpace(text[i]);
    if (!hasText) return std::nullopt;
    // Whitespace holds no mark, so every code stays.
    return Segment{text.substr(begin, end - begin), block.codes};
}

}  // namespace

DocumentSegmenter::DocumentSegmenter(const std::wstring& language, const std::wstring& rulesFile) {
    if (!rulesFile.empty()) fileRules_ = SrxRules::ReadFile(rulesFile);
    segmenter_.emplace(language, fileRules_ ? *fileRules_ : SrxRules::BuiltIn());
}

std::vector<Segment> DocumentSegmenter::Split(const DocumentText& document) {
    std::vector<Segment> segments;
    for (const TextBlock& block : document.blocks) {
        if (block.isSegment) {
            if (std::optional<Segment> segment = Trimmed(block.text))
                segments.push_back(std::move(*segment));
            continue;
        }
        for (Segment& segment : segmenter_->Split(block.text))
            segments.push_back(std::move(segment));
    }
    return segments;
}

}  // namespace orv::engine
