#include "engine/match/CandidateFilter.h"

#include <algorithm>
#include <span>

// Why no unit that reaches the threshold t is lost. Let the query have n tokens and a unit m,
// M = max(n, m), d their token distance and o the tokens they share as multisets (for each
// token the lesser of its two counts). An alignment pairs at most o equal tokens and every
// other position of the longer sequence costs an edit of its own, so d >= M - o. Similarity
// t or more means 100 * (M - d) >= t * M, hence
//     o >= M - d >= M - floor(M * (100 - t) / 100) = ceil(M * t / 100) = Needed(M, t),
// which never falls as M grows: every such unit shares at least Needed(n, t) tokens.
// - Lengths: o <= m gives m >= Needed(n, t); Needed(m, t) <= o <= n gives m <= 100 * n / t.
// Tokens are ordered by rarity (the number of units that have them, fewest first, then id),
// the same order for the query and every unit. Let x be the rarest token that the query and a
// unit share.
// - Query prefix: the query's occurrences are at positions 0 to n - 1 in that order, a
//   token's side by side. The unit has none of the query's tokens before x, so it shares at
//   most the n - p occurrences from x's first position p on: p <= n - Needed(M, t). Only such
//   tokens' postings admit units, each up to the length at which it stops being one of them.
// - Unit prefix: the unit has `rank` occurrences of tokens rarer than x (Posting::rank), none
//   of them shared, so o <= m - rank: only the postings of rank <= m - Needed(M, t) admit.
// - Signatures (Signature in TmIndexData.h): a common token that the query has c times adds
//   bits for its first min(c, levels) occurrences to the query's bits, and a unit shares
//   min(c, its count) <= (those bits the unit has) + (c - min(c, levels)) of it; any other
//   token adds its one shared bit, and the tokens of one shared bit, w occurrences in all,
//   add at most w when the unit has the bit and 0 when not, that is at most the bit plus
//   w - 1. Summed over the query's tokens from x's position p on, which are all it shares:
//   o <= popcount(signature & bits) + occurrences - popcount(bits).
// So a unit that reaches t passes all three tests at its posting of x and is admitted there;
// what the tests do at its other postings does not matter. The admitted units then count
// what they share through their own tokens, and those below Needed(M, t) go.
// - Bound: d >= M - o gives a similarity of at most floor(100 * o / M).
// A penalty only lowers a score, so a unit that scores t has a similarity of t or more.

namespace orv::engine {

namespace {

std::size_t Needed(std::size_t longest, int32_t threshold) {
    return (longest * static_cast<std::size_t>(threshold) + 99) / 100;
}

constexpr std::ptrdiff_t kPrefetchAhead = 16;

void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

const Posting* FirstOfLength(const Posting* begin, const Posting* end, std::size_t length) {
    return std::lower_bound(begin, end, length,
                            [](const Posting& p, std::size_t m) { return p.length < m; });
}

}  // namespace

void CandidateFilter::Assign(const TmIndex::Data& data, const PreparedSegment& query) {
    data_ = &data;
    n_ = query.folded.size();
    if (entries_ != data.Entries()) {
        entries_ = data.Entries();
        admittedBits_.assign((entries_ + 63) / 64, 0);
        admitted_.clear();
    }
    if (wanted_.size() < data.Vocabulary()) {
        wanted_.assign(data.Vocabulary(), 0);
        taken_.assign(data.Vocabulary(), 0);
    }

    const auto frequency = [&](uint32_t id) -> uint32_t {
        return id < data.Vocabulary()
                   ? static_cast<uint32_t>(data.postingStart[id + 1] - data.postingStart[id])
                   : 0;
    };
    std::vector<uint32_t> ids = query.folded;
    std::sort(ids.begin(), ids.end(), [&](uint32_t a, uint32_t b) {
        const uint32_t fa = frequency(a), fb = frequency(b);
        return fa != fb ? fa < fb : a < b;
    });
    tokens_.clear();
    for (std::size_t i = 0; i < ids.size();) {
        std::size_t j = i;
        while (j < ids.size() && ids[j] == ids[i]) ++j;
        QueryToken token{ids[i], static_cast<uint32_t>(j - i), static_cast<uint32_t>(i)};
        if (ids[i] < data.Vocabulary()) {
            token.begin = data.postings.data() + data.postingStart[ids[i]];
            token.end = data.postings.data() + data.postingStart[ids[i] + 1];
        }
        tokens_.push_back(token);
        i = j;
    }
    rest_.assign(tokens_.size() + 1, Rest{});
    uint32_t occurrences = 0;
    for (std::size_t k = tokens_.size(); k-- > 0;) {
        rest_[k] = rest_[k + 1];
        if (!tokens_[k].begin) continue;  // in no unit: shares nothing
        rest_[k].bits.Add(data.signatureBits[tokens_[k].id], tokens_[k].count);
        occurrences += tokens_[k].count;
        rest_[k].slack = occurrences - rest_[k].bits.Count();
    }
}

// Admits the units of a length from `shortest` to `admitting` that have the `k`th token as
// their rarest shared one, as far as their ranks and signatures tell. A unit ruled out here
// needs no mark: the query's later tokens are commoner, so they rank later in it and reach
// fewer of its tokens, and rule it out again.
void CandidateFilter::Admit(std::size_t k, std::size_t shortest, std::size_t admitting,
                            int32_t threshold) {
    const QueryToken& token = tokens_[k];
    const Rest& rest = rest_[k];
    const Signature* const signatures = data_->entrySignatures.data();
    const Posting* p = FirstOfLength(token.begin, token.end, shortest);
    while (p != token.end && p->length <= admitting) {
        const uint32_t length = p->length;
        const Posting* const lengthEnd = FirstOfLength(p, token.end, length + 1);
        const auto needed =
            static_cast<uint32_t>(Needed(std::max<std::size_t>(n_, length), threshold));
        const uint32_t lastRank = length - needed;
        const Posting* const rankEnd = std::upper_bound(
            p, lengthEnd, lastRank,
            [](uint32_t rank, const Posting& posting) { return rank < posting.rank; });
        const uint32_t bitsNeeded = needed > rest.slack ? needed - rest.slack : 0;
        for (; p != rankEnd; ++p) {
            // The signatures are read in no order: asked for a few postings ahead, they are
            // there when their turn comes.
            if (rankEnd - p > kPrefetchAhead) Prefetch(&signatures[p[kPrefetchAhead].entry]);
            if (IsAdmitted(p->entry) || signatures[p->entry].Common(rest.bits) < bitsNeeded)
                continue;
            Mark(p->entry);
            admitted_.push_back({p->entry, length, 0});
        }
        p = lengthEnd;
    }
}

// The tokens that each admitted unit shares with the query, through the unit's own tokens.
void CandidateFilter::CountShared() {
    for (const QueryToken& token : tokens_)
        if (token.begin) wanted_[token.id] = token.count;
    const std::size_t count = admitted_.size();
    for (std::size_t i = 0; i < count; ++i) {
        // Each unit's tokens are elsewhere: where they start is asked for two steps ahead,
        // the tokens one step ahead, once their start is there.
        if (i + 2 * kPrefetchAhead < count)
            Prefetch(&data_->tokenStart[admitted_[i + 2 * kPrefetchAhead].entry]);
        if (i + kPrefetchAhead < count)
            Prefetch(&data_->foldedTokens[data_->tokenStart[admitted_[i + kPrefetchAhead].entry]]);
        Admitted& admitted = admitted_[i];
        const std::span<const uint32_t> ids = data_->FoldedOf(admitted.entry);
        for (uint32_t id : ids) {
            if (taken_[id] < wanted_[id]) {
                ++taken_[id];
                ++admitted.shared;
            }
        }
        for (uint32_t id : ids) taken_[id] = 0;
    }
    for (const QueryToken& token : tokens_)
        if (token.begin) wanted_[token.id] = 0;
}

const std::vector<CandidateFilter::Candidate>& CandidateFilter::Find(int32_t threshold) {
    candidates_.clear();
    const std::size_t n = n_;
    const std::size_t shortest = Needed(n, threshold);
    const std::size_t longest = n * 100 / static_cast<std::size_t>(threshold);
    const std::size_t lastAdmitting = n - shortest;  // the last position that admits

    for (std::size_t k = 0; k < tokens_.size() && tokens_[k].position <= lastAdmitting; ++k) {
        const QueryToken& token = tokens_[k];
        if (!token.begin) continue;  // in no unit
        // Units longer than the query need more shared tokens, so fewer positions admit them.
        const std::size_t admitting = std::min(
            longest, std::max(n, (n - token.position) * 100 / static_cast<std::size_t>(threshold)));
        Admit(k, shortest, admitting, threshold);
    }
    CountShared();
    for (const Admitted& admitted : admitted_) {
        Unmark(admitted.entry);
        const std::size_t most = std::max<std::size_t>(n, admitted.length);
        if (admitted.shared < Needed(most, threshold)) continue;
        candidates_.push_back({admitted.entry, static_cast<int32_t>(100 * admitted.shared / most)});
    }
    admitted_.clear();
    std::sort(candidates_.begin(), candidates_.end(), [](const Candidate& a, const Candidate& b) {
        return a.bound != b.bound ? a.bound > b.bound : a.entry < b.entry;
    });
    return candidates_;
}

}  // namespace orv::engine
