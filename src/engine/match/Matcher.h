#pragma once
// Finds, for each segment of a batch, what the translation memory offers for it and in
// which band a translation buyer pays for it.
//
// In batch order, a segment whose normalised text (NormalisedText in Tokenizer.h: an inline
// code is one mark, whatever it holds, and a placeholder code the placeholder it holds)
// occurred earlier in the batch is a Repetition. Every other segment gets its best match among the
// units translated into the target language:
// - 100 when the unit's source is the same text with the same inline codes (same kinds in
//   the same places) after normalisation; a placeholder is text here, so "%s" as a code
//   and "%s" written out are the same;
// - otherwise the token similarity floor(100 * (max - d) / max), where d is the Levenshtein
//   distance between the two token sequences (words, numbers, punctuation, URLs, e-mail
//   addresses, placeholders, compared case-folded; other inline codes left out) and max
//   the longer length, less the penalties: formatting when the inline codes other than
//   placeholders differ in kind, number or order; placeables when the numbers, URLs,
//   e-mail addresses and placeholders differ as multisets; multiple
//   translations when the unit's source text has more than one distinct translation into
//   the target language in the TM; one point when the tokens differ only in letter case.
//   The result is at most 99 and at least 0. (A 100 takes no penalty.)
// The best match is the highest score, the lowest unit on a tie. Bands: 100, 95-99, 85-94,
// 75-84, and from the floor to 74; the floor is 50, or MinimumMatchValue when that is
// higher. Below the floor a segment is Relayed when a unit translated only into other
// languages has the same text and codes (the 100 criteria), and NoMatch otherwise.
//
// Typical use for one analysis run, counting repetitions across all its documents:
//   TmIndex index(tm, targetLanguage);
//   DocumentSegmenter segmenter(tm.sourceLanguage);
//   std::vector<Segment> batch;  // every document's segments, in job order
//   for (const auto& path : documents)
//       for (Segment& s : segmenter.Split(ReadDocument(path, settings)))
//           batch.push_back(std::move(s));
//   std::vector<SegmentMatch> matches = MatchBatch(index, batch, options);
//   // matches[i].band says where CountSegment(batch[i]) is added.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "engine/match/TmIndex.h"
#include "engine/model/Segment.h"

namespace orv::engine {

enum class Band { Repetition, Exact100, Fuzzy95, Fuzzy85, Fuzzy75, Fuzzy50, Relayed, NoMatch };

// From the general and the penalties option groups. Negative penalties count as 0.
struct MatchOptions {
    int32_t minimumMatchValue = 0;
    int32_t formattingPenalty = 0;            // FormattingMismatchPenalty
    int32_t placeablePenalty = 0;             // PlaceableMismatchPenalty
    int32_t multipleTranslationsPenalty = 0;  // MultipleTranslationsPenalty
    // From the SubstitutionLocalisation group. It takes effect through the TmIndex built
    // with it: MatchBatch substitutes as its index does.
    SubstitutionOptions substitution;
};

struct SegmentMatch {
    Band band = Band::NoMatch;
    // The match value of Exact100, the Fuzzy bands and Relayed (100); 0 for Repetition
    // and NoMatch.
    int32_t score = 0;
    // The matched unit's position in TranslationMemory::units (none for Repetition and
    // NoMatch).
    std::optional<std::size_t> unitIndex;

    friend bool operator==(const SegmentMatch&, const SegmentMatch&) = default;
};

// The lowest score that is a match: max(50, minimumMatchValue), at most 100.
int32_t MatchFloor(const MatchOptions& options);

// Called once for each segment of the batch once its match is known, from any of the
// matching threads, one call at a time. It may throw to stop the batch: MatchBatch then
// rethrows that exception.
using SegmentDone = std::function<void(std::size_t segment)>;

// One result per segment, in batch order. `threads` share the work (0: one per
// processor); the results do not depend on their number.
std::vector<SegmentMatch> MatchBatch(const TmIndex& index, const std::vector<Segment>& batch,
                                     const MatchOptions& options, unsigned threads = 0,
                                     const SegmentDone& segmentDone = {});

// The same results found the slow way, by scoring every unit whose length can reach the
// floor, on one thread: the reference that MatchBatch is tested against.
std::vector<SegmentMatch> BruteForceMatch(const TmIndex& index, const std::vector<Segment>& batch,
                                          const MatchOptions& options);

}  // namespace orv::engine
