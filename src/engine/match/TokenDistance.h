#pragma once
// Levenshtein distance over token ids, bit-parallel: one machine word holds 64 tokens of
// the pattern (Myers 1999 in Hyyrö's formulation; longer patterns run in blocks of 64), so
// comparing a pattern with a text of m tokens costs about m word operations per block.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orv::engine {

// One pattern, compared with many texts. Reuse one object for many patterns: Assign costs
// only the pattern's length. Distance may be called from one thread at a time.
class TokenPattern {
public:
    // Makes `pattern` the pattern. The ids of every text later given to Distance must be
    // below `alphabetSize`; pattern ids at or above it match nothing.
    void Assign(std::span<const uint32_t> pattern, std::size_t alphabetSize);

    // The distance between the pattern and `text` when it is at most `limit`, otherwise
    // limit + 1 (the work stops as soon as the distance is known to exceed `limit`).
    uint32_t Distance(std::span<const uint32_t> text, uint32_t limit) const;

    std::size_t size() const { return length_; }

private:
    std::vector<uint32_t> row_;       // by id: its row of masks_, 0 for "not in the pattern"
    std::vector<uint64_t> masks_;     // rows of blocks_ words; row 0 is all zero
    std::vector<uint32_t> assigned_;  // ids whose row_ entry the next Assign clears
    std::size_t length_ = 0;
    std::size_t blocks_ = 0;
    mutable std::vector<uint64_t> positive_, negative_;  // vertical deltas, per block
};

}  // namespace orv::engine
