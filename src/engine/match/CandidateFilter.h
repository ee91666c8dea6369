#pragma once
// The units of a TmIndex that can reach a token similarity with one segment, found from the
// segment's rarest tokens so that the long posting lists of common tokens are hardly read.
// The matcher verifies the candidates (TokenPattern); this only
// keeps it from verifying the others.
//
// The token similarity of a unit is floor(100 * (M - d) / M), d the token distance and M the
// longer length: the score before any penalty, so never below the score.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/match/TmIndexData.h"

namespace orv::engine {

class CandidateFilter {
public:
    struct Candidate {
        uint32_t entry;
        int32_t bound;  // the most the entry's token similarity can be
    };

    // Makes `query` the segment to filter for; `query` comes from PrepareQuery on `data`, has
    // at least one token, and both must outlive the calls to Find that follow. The working
    // memory is kept from segment to segment: one object serves one thread at a time.
    void Assign(const TmIndex::Data& data, const PreparedSegment& query);

    // The entries whose token similarity with the query can be `threshold` (50 to 100) or
    // more: every entry that reaches it is among them. Highest bound first, the lowest entry
    // first on equal bounds. Valid until the next call.
    const std::vector<Candidate>& Find(int32_t threshold);

private:
    struct QueryToken {
        uint32_t id;
        uint32_t count;     // occurrences in the query
        uint32_t position;  // of its first occurrence, the query's tokens ordered by rarity
        const Posting* begin = nullptr;  // its postings; none for a token in no unit
        const Posting* end = nullptr;
    };
    // The query's tokens from one on, for signatures: their bits, and by how much their
    // occurrences outnumber the bits.
    struct Rest {
        Signature bits;
        uint32_t slack = 0;
    };
    struct Admitted {
        uint32_t entry;
        uint32_t length;
        uint32_t shared;  // tokens it shares with the query, once counted
    };

    void Admit(std::size_t k, std::size_t shortest, std::size_t admitting, int32_t threshold);
    void CountShared();

    const TmIndex::Data* data_ = nullptr;
    std::size_t n_ = 0;               // the query's tokens
    std::vector<QueryToken> tokens_;  // distinct, rarest first
    std::vector<Rest> rest_;          // by token, and one more for none

    // Per entry, whether the search admitted it: a bit, so that they stay in the processor's
    // cache for memories of millions of units. Cleared from admitted_ after each search.
    bool IsAdmitted(uint32_t entry) const {
        return (admittedBits_[entry / 64] >> (entry % 64)) & 1;
    }
    void Mark(uint32_t entry) { admittedBits_[entry / 64] |= uint64_t{1} << (entry % 64); }
    void Unmark(uint32_t entry) { admittedBits_[entry / 64] &= ~(uint64_t{1} << (entry % 64)); }
    std::size_t entries_ = 0;  // of the index the working memory is for
    std::vector<uint64_t> admittedBits_;
    std::vector<Admitted> admitted_;
    std::vector<uint32_t> wanted_;  // per token id: occurrences still to count; else 0
    std::vector<uint32_t> taken_;   // per token id: occurrences counted in one unit
    std::vector<Candidate> candidates_;
};

}  // namespace orv::engine
