#include "engine/match/CandidateFilter.h"

#include <algorithm>

// Why no unit that reaches the threshold t is lost. Let the query have n tokens and a unit m,
// M = max(n, m), d their token distance and o the tokens they share as multisets (for each
// token the lesser of its two counts). An alignment pairs at most o equal tokens and every
// other position of the longer sequence costs an edit of its own, so d >= M - o. Similarity
// t or more means 100 * (M - d) >= t * M, hence
//     o >= M - d >= M - floor(M * (100 - t) / 100) = ceil(M * t / 100) = Needed(M, t),
// which never falls as M grows: every such unit shares at least Needed(n, t) tokens.
// - Lengths: o <= m gives m >= Needed(n, t); Needed(m, t) <= o <= n gives m <= 100 * n / t.
// - Prefix: the query's tokens are ordered by rarity, a token's occurrences side by side at
//   positions 0 to n - 1. A unit that has none of the tokens whose first position is below p
//   shares at most the n - p occurrences from p on. So a unit of length m has a token whose
//   first position is at most n - Needed(max(n, m), t): only such tokens' postings admit
//   units, each only up to the length at which it stops being one of them.
// - Counts: once the tokens holding the first `counted` positions are counted, a unit that
//   shares `shared` of them shares at most shared + n - counted in all; when that is below
//   Needed(max(n, m), t) it is dropped.
// - Signatures (Signature in TmIndexData.h): a common token x that the query has c times
//   adds bits for its first min(c, levels) occurrences to the query's bits, and a unit shares
//   min(c, its count) <= (those bits the unit has) + (c - min(c, levels)) of it; any other
//   token adds its one shared bit, and the tokens of one shared bit, w occurrences in all,
//   add at most w when the unit has the bit and 0 when not, that is at most the bit plus
//   w - 1. Summed over the query's tokens from position p on: the unit shares at most
//   popcount(signature & bits) + occurrences - popcount(bits) of them. A unit met first at a
//   token of position p has none of the tokens before it (their postings would have met it),
//   so that bounds all it shares; one that shares `shared` of the counted tokens shares at
//   most that bound more.
// - Bound: d >= M - o gives a similarity of at most floor(100 * o / M).
// A penalty only lowers a score, so a unit that scores t has a similarity of t or more.

namespace orv::engine {

namespace {

std::size_t Needed(std::size_t longest, int32_t threshold) {
    return (longest * static_cast<std::size_t>(threshold) + 99) / 100;
}

const Posting* FirstOfLength(const Posting* begin, const Posting* end, std::size_t length) {
    return std::lower_bound(begin, end, length,
                            [](const Posting& p, std::size_t m) { return p.length < m; });
}

}  // namespace

void CandidateFilter::Assign(const TmIndex::Data& data, const PreparedSegment& query) {
    data_ = &data;
    n_ = query.folded.size();
    if (shared_.size() != data.entries.size()) {
        admittedBits_.assign((data.entries.size() + 63) / 64, 0);
        shared_.assign(data.entries.size(), 0);
        admitted_.clear();
    }
    if (wanted_.size() < data.Vocabulary()) {
        wanted_.assign(data.Vocabulary(), 0);
        taken_.assign(data.Vocabulary(), 0);
    }

    const auto frequency = [&](uint32_t id) -> uint32_t {
        return id < data.Vocabulary() ? data.postingStart[id + 1] - data.postingStart[id] : 0;
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

// Counts the `k`th token for the admitted units of a length from `shortest` to `longest`, and
// admits the others up to the length `admitting` that their signatures do not rule out. A
// unit ruled out here needs no mark: the query's later tokens can only reach fewer of its
// tokens, so their postings rule it out again.
void CandidateFilter::Admit(std::size_t k, std::size_t shortest, std::size_t admitting,
                            std::size_t longest, int32_t threshold) {
    const QueryToken& token = tokens_[k];
    const Rest& rest = rest_[k];
    const Posting* from = FirstOfLength(token.begin, token.end, shortest);
    const Posting* to = FirstOfLength(from, token.end, admitting + 1);
    const Signature* signature = data_->postingSignatures.data() + (from - data_->postings.data());
    uint32_t length = 0, bitsNeeded = 0;  // of the postings' current length
    for (const Posting* p = from; p != to; ++p, ++signature) {
        if (IsAdmitted(p->entry)) {
            shared_[p->entry] += std::min(token.count, p->count);
            continue;
        }
        if (p->length != length) {
            length = p->length;
            const auto needed =
                static_cast<uint32_t>(Needed(std::max<std::size_t>(n_, length), threshold));
            bitsNeeded = needed > rest.slack ? needed - rest.slack : 0;
        }
        if (signature->Common(rest.bits) < bitsNeeded) continue;
        Mark(p->entry);
        shared_[p->entry] = std::min(token.count, p->count);
        admitted_.push_back({p->entry, p->length, *signature});
    }
    if (admitting < longest) Count(token, admitting + 1, longest);
}

void CandidateFilter::Count(const QueryToken& token, std::size_t shortest, std::size_t longest) {
    const Posting* from = FirstOfLength(token.begin, token.end, shortest);
    for (const Posting* p = from; p != token.end && p->length <= longest; ++p)
        if (IsAdmitted(p->entry)) shared_[p->entry] += std::min(token.count, p->count);
}

// Counts the tokens from `fromToken` on through the admitted units' own tokens.
void CandidateFilter::CountByWalking(std::size_t fromToken) {
    for (std::size_t k = fromToken; k < tokens_.size(); ++k)
        if (tokens_[k].begin) wanted_[tokens_[k].id] = tokens_[k].count;
    for (const Admitted& admitted : admitted_) {
        const std::vector<uint32_t>& ids = data_->entries[admitted.entry].folded;
        uint32_t found = 0;
        for (uint32_t id : ids) {
            if (taken_[id] < wanted_[id]) {
                ++taken_[id];
                ++found;
            }
        }
        for (uint32_t id : ids) taken_[id] = 0;
        shared_[admitted.entry] += found;
    }
    for (std::size_t k = fromToken; k < tokens_.size(); ++k)
        if (tokens_[k].begin) wanted_[tokens_[k].id] = 0;
}

// Makes every entry unadmitted again.
void CandidateFilter::Forget() {
    for (const Admitted& admitted : admitted_) Unmark(admitted.entry);
    admitted_.clear();
}

const std::vector<CandidateFilter::Candidate>& CandidateFilter::Find(int32_t threshold) {
    candidates_.clear();
    const std::size_t n = n_;
    const std::size_t shortest = Needed(n, threshold);
    const std::size_t longest = n * 100 / static_cast<std::size_t>(threshold);
    const std::size_t lastAdmitting = n - shortest;  // the last position that admits

    std::size_t k = 0;
    for (; k < tokens_.size() && tokens_[k].position <= lastAdmitting; ++k) {
        const QueryToken& token = tokens_[k];
        if (!token.begin) continue;  // in no unit
        // Units longer than the query need more shared tokens, so fewer positions admit them.
        const std::size_t admitting = std::min(
            longest, std::max(n, (n - token.position) * 100 / static_cast<std::size_t>(threshold)));
        Admit(k, shortest, admitting, longest, threshold);
    }
    // `k` is the first token not yet counted.
    const auto dropHopeless = [&] {
        std::erase_if(admitted_, [&](const Admitted& admitted) {
            if (shared_[admitted.entry] + Reach(k, admitted.signature) >=
                Needed(std::max<std::size_t>(n, admitted.length), threshold))
                return false;
            Unmark(admitted.entry);
            return true;
        });
    };
    dropHopeless();
    // Further tokens through their postings while these cost less to read than the admitted
    // units' own tokens, the rest through those. A posting read is one step, in order; a
    // unit's tokens are one step each and a far jump to reach them, which costs many.
    constexpr std::size_t kReachUnit = 32;
    while (k < tokens_.size() && !admitted_.empty()) {
        const QueryToken& token = tokens_[k];
        std::size_t walk = 0;
        for (const Admitted& admitted : admitted_) walk += admitted.length + kReachUnit;
        if (token.begin) {
            const Posting* from = FirstOfLength(token.begin, token.end, shortest);
            const Posting* to = FirstOfLength(from, token.end, longest + 1);
            if (static_cast<std::size_t>(to - from) > walk) break;
            Count(token, shortest, longest);
        }
        ++k;
        dropHopeless();
    }
    if (k < tokens_.size() && !admitted_.empty()) {
        CountByWalking(k);
        k = tokens_.size();
        dropHopeless();
    }

    for (const Admitted& admitted : admitted_) {
        const std::size_t most = std::max<std::size_t>(n, admitted.length);
        candidates_.push_back(
            {admitted.entry, static_cast<int32_t>(100 * shared_[admitted.entry] / most)});
    }
    Forget();
    std::sort(candidates_.begin(), candidates_.end(), [](const Candidate& a, const Candidate& b) {
        return a.bound != b.bound ? a.bound > b.bound : a.entry < b.entry;
    });
    return candidates_;
}

}  // namespace orv::engine
