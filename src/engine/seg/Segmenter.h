#pragma once
// Splits running text into the segments that are matched and counted: sentences by the
// Unicode sentence boundaries of the text's language, with the usual abbreviations of that
// language ("Mr.", "e.g.", "Prof.") not ending a sentence, and over those the SRX rules of the
// language, which keep a boundary from being one or add one. A blank line (two line breaks
// with nothing but whitespace between them), a paragraph separator or a form feed always
// ends a segment. Segments are trimmed of whitespace; those left with nothing but
// whitespace and inline codes are dropped. Each inline code goes with the segment that
// holds its mark; a closing code right after a sentence's end stays with that sentence.

#include <memory>
#include <string>
#include <vector>

#include <unicode/uversion.h>

#include "engine/model/Segment.h"
#include "engine/seg/LanguageBreakRules.h"
#include "engine/seg/SrxRules.h"

U_NAMESPACE_BEGIN
class BreakIterator;
U_NAMESPACE_END

namespace orv::engine {

class Segmenter {
public:
    // `language` is a BCP 47 tag ("en-US"); an empty or malformed tag gets the boundary
    // rules common to all languages, without abbreviations. `rules` choose their own rules
    // for the tag. A single line break is a space to the sentence boundaries, so hard-wrapped
    // prose keeps its sentences whole; the rules see a paragraph's line breaks as written.
    explicit Segmenter(const std::wstring& language, const SrxRules& rules = SrxRules::BuiltIn());
    ~Segmenter();
    Segmenter(Segmenter&&) noexcept;
    Segmenter& operator=(Segmenter&&) noexcept;

    // The segments of `text` in order. `text.codes` holds one code per kCodeMark of its
    // text; a mark without a code gets a standalone code with no content. Not to be called
    // from two threads at once on one Segmenter.
    std::vector<Segment> Split(const Segment& text);

private:
    // The breaks inside `paragraph` (neither 0 nor its length), in order; `spaced` is the
    // paragraph as the sentence boundaries see it.
    std::vector<int32_t> BreaksOf(const icu::UnicodeString& paragraph,
                                  const icu::UnicodeString& spaced);

    std::unique_ptr<icu::BreakIterator> sentences_;
    LanguageBreakRules rules_;
};

}  // namespace orv::engine
