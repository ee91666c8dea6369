#include "engine/match/Matcher.h"

#include <mutex>

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "engine/match/ParallelFor.h"
#include "engine/match/TmIndexData.h"
#include "engine/match/TokenDistance.h"
#include "engine/text/Tokenizer.h"

namespace orv::engine {

namespace {

using Data = TmIndex::Data;

struct Rules {
    int32_t floor;
    int32_t formatting;
    int32_t placeable;
    int32_t multipleTranslations;
};

Rules RulesOf(const MatchOptions& options) {
    return Rules{MatchFloor(options), std::max(0, options.formattingPenalty),
                 std::max(0, options.placeablePenalty),
                 std::max(0, options.multipleTranslationsPenalty)};
}

// The largest distance at which two sequences, the longer of `longest` tokens, still
// score `threshold`: floor(100 * (longest - d) / longest) >= threshold.
uint32_t Budget(std::size_t longest, int32_t threshold) {
    return static_cast<uint32_t>(longest * static_cast<std::size_t>(100 - threshold) / 100);
}

// The score of a unit that is not the same text with the same codes as the query, at
// token distance `distance`.
int32_t FuzzyScore(const PreparedSegment& query, const PreparedSegment& unit, bool multiple,
                   uint32_t distance, const Rules& rules) {
    const std::size_t longest = std::max(query.folded.size(), unit.folded.size());
    int64_t score = longest == 0 ? 100
                                 : 100 * static_cast<int64_t>(longest - distance) /
                                       static_cast<int64_t>(longest);
    if (query.codeKinds != unit.codeKinds) score -= rules.formatting;
    if (query.placeables != unit.placeables) score -= rules.placeable;
    if (multiple) score -= rules.multipleTranslations;
    if (distance == 0 && query.original != unit.original) score -= 1;  // letter case only
    return static_cast<int32_t>(std::clamp<int64_t>(score, 0, 99));
}

Band BandOf(int32_t score) {
    if (score >= 100) return Band::Exact100;
    if (score >= 95) return Band::Fuzzy95;
    if (score >= 85) return Band::Fuzzy85;
    if (score >= 75) return Band::Fuzzy75;
    return Band::Fuzzy50;
}

struct Best {
    int32_t score = -1;
    uint32_t entry = std::numeric_limits<uint32_t>::max();

    void Offer(int32_t candidateScore, uint32_t candidate) {
        if (candidateScore > score || (candidateScore == score && candidate < entry)) {
            score = candidateScore;
            entry = candidate;
        }
    }
};

// The lowest entry of `table` (sorted (key, position) pairs) whose segment is `query`'s
// text with its codes.
std::optional<uint32_t> FindSame(const std::vector<std::pair<uint64_t, uint32_t>>& table,
                                 const std::vector<PreparedSegment>& segments,
                                 const PreparedSegment& query) {
    auto at = std::lower_bound(table.begin(), table.end(), std::make_pair(query.exactKey, 0u));
    for (; at != table.end() && at->first == query.exactKey; ++at)
        if (segments[at->second].SameAs(query)) return at->second;
    return std::nullopt;
}

SegmentMatch Conclude(const Data& data, const Best& best, const Rules& rules,
                      std::optional<uint32_t> relay) {
    if (best.score >= rules.floor)
        return SegmentMatch{BandOf(best.score), best.score, data.entryUnit[best.entry]};
    if (relay) return SegmentMatch{Band::Relayed, 100, data.relayUnit[*relay]};
    return SegmentMatch{Band::NoMatch, 0, std::nullopt};
}

// Working memory of one thread, kept from query to query.
struct Scratch {
    std::vector<uint32_t> seen;    // per entry: the query that last admitted it
    std::vector<uint32_t> common;  // per entry: tokens shared with that query (multiset)
    uint32_t query = 0;
    std::vector<uint32_t> wanted;  // per token id: occurrences still to count; else 0
    std::vector<uint32_t> taken;   // per token id: occurrences counted in one unit
    std::vector<std::pair<uint32_t, uint32_t>> admitted;  // (entry, its length)
    std::vector<std::pair<int32_t, uint32_t>> ranked;     // (bound on the score, entry)
    TokenPattern pattern;

    void Start(const Data& data) {
        if (seen.size() != data.entries.size() || query == UINT32_MAX) {
            seen.assign(data.entries.size(), 0);
            common.assign(data.entries.size(), 0);
            query = 0;
        }
        if (wanted.size() < data.Vocabulary()) {
            wanted.assign(data.Vocabulary(), 0);
            taken.assign(data.Vocabulary(), 0);
        }
        ++query;
        admitted.clear();
        ranked.clear();
    }
};

struct QueryToken {
    uint32_t id;
    uint32_t count;                  // occurrences in the query
    uint32_t position;               // of its first occurrence in the query ordered by rarity
    const Posting* first = nullptr;  // its postings of units of a length that can match
    const Posting* last = nullptr;
};

// The query's distinct tokens, rarest first.
std::vector<QueryToken> ByRarity(const Data& data, const PreparedSegment& query) {
    auto frequency = [&](uint32_t id) -> uint32_t {
        return id < data.Vocabulary() ? data.postingStart[id + 1] - data.postingStart[id] : 0;
    };
    std::vector<uint32_t> ids = query.folded;
    std::sort(ids.begin(), ids.end(), [&](uint32_t a, uint32_t b) {
        uint32_t fa = frequency(a), fb = frequency(b);
        return fa != fb ? fa < fb : a < b;
    });
    std::vector<QueryToken> tokens;
    for (std::size_t i = 0; i < ids.size();) {
        std::size_t j = i;
        while (j < ids.size() && ids[j] == ids[i]) ++j;
        tokens.push_back({ids[i], static_cast<uint32_t>(j - i), static_cast<uint32_t>(i)});
        i = j;
    }
    return tokens;
}

// Narrows each token's postings to the units of a length from `shortest` to `longest`.
void KeepLengths(const Data& data, std::vector<QueryToken>& tokens, std::size_t shortest,
                 std::size_t longest) {
    for (QueryToken& token : tokens) {
        if (token.id >= data.Vocabulary()) continue;  // in no unit
        const Posting* all = data.postings.data();
        token.first = std::lower_bound(
            all + data.postingStart[token.id], all + data.postingStart[token.id + 1], shortest,
            [](const Posting& p, std::size_t m) { return p.length < m; });
        token.last = std::upper_bound(token.first, all + data.postingStart[token.id + 1], longest,
                                      [](std::size_t m, const Posting& p) { return m < p.length; });
    }
}

// How many units the first, cheap look at the rarest tokens' units verifies: a close
// match found there raises the bar before the long postings of common tokens are read.
constexpr std::size_t kProbe = 16;

// Every unit that can score at least the floor shares with the query at least
// max(n, m) - budget of its tokens (a multiset intersection: n tokens with d edits keep
// n - d of them). Ordered by rarity, the query's first budget + 1 tokens must then hold
// one that the unit has (the prefix filter), so only those tokens' postings admit units,
// and its first budget + 2 tokens must hold two, which drops most admitted units for the
// price of one more posting list; the others only add to the admitted units' shared
// counts. The admitted units that pass the count are verified best bound first, and each
// verified score raises the bar for the rest, so that a good match soon cuts the search
// short.
SegmentMatch SearchIndexed(const Data& data, const PreparedSegment& query, const Rules& rules,
                           Scratch& scratch) {
    if (auto same = FindSame(data.exact, data.entries, query))
        return SegmentMatch{Band::Exact100, 100, data.entryUnit[*same]};

    const int32_t floor = rules.floor;
    const std::size_t n = query.folded.size();
    scratch.Start(data);
    Best best;

    if (n == 0) {
        for (uint32_t entry : data.empty)
            best.Offer(
                FuzzyScore(query, data.entries[entry], data.multipleTranslations[entry], 0, rules),
                entry);
    } else {
        std::vector<QueryToken> tokens = ByRarity(data, query);
        scratch.pattern.Assign(query.folded, data.Vocabulary());
        auto verify = [&](uint32_t entry) {
            const PreparedSegment& unit = data.entries[entry];
            const std::size_t m = unit.folded.size(), most = std::max(n, m);
            const uint32_t budget = Budget(most, std::max(floor, best.score));
            if ((n > m ? n - m : m - n) > budget) return;
            const uint32_t distance = scratch.pattern.Distance(unit.folded, budget);
            if (distance > budget) return;
            best.Offer(FuzzyScore(query, unit, data.multipleTranslations[entry], distance, rules),
                       entry);
        };

        KeepLengths(data, tokens, (n * static_cast<std::size_t>(floor) + 99) / 100,
                    n * 100 / static_cast<std::size_t>(floor));
        std::size_t probed = 0;
        for (const QueryToken& token : tokens)
            for (const Posting* p = token.first; p != token.last && probed < kProbe; ++p, ++probed)
                verify(p->entry);

        // From here on only units that can reach the bar count.
        const int32_t bar = std::max(floor, best.score);
        const std::size_t shortest = (n * static_cast<std::size_t>(bar) + 99) / 100;
        const std::size_t longest = n * 100 / static_cast<std::size_t>(bar);
        KeepLengths(data, tokens, shortest, longest);
        const uint32_t widest = Budget(longest, bar);
        // Of the query's first `prefix` tokens by rarity, a unit with budget b shares at
        // least prefix - b.
        const std::size_t prefix = std::min<std::size_t>(n, widest + 2);

        std::size_t restPostings = 0;
        for (const QueryToken& token : tokens) {
            if (token.position >= prefix) {
                restPostings += static_cast<std::size_t>(token.last - token.first);
                continue;
            }
            // Shorter units allow fewer edits: this token admits only from this length on.
            std::size_t admitting = shortest;
            while (admitting <= longest && Budget(std::max(n, admitting), bar) < token.position)
                ++admitting;
            const Posting* from =
                std::lower_bound(token.first, token.last, admitting,
                                 [](const Posting& p, std::size_t m) { return p.length < m; });
            for (const Posting* p = token.first; p != from; ++p)
                if (scratch.seen[p->entry] == scratch.query)
                    scratch.common[p->entry] += std::min(token.count, p->count);
            for (const Posting* p = from; p != token.last; ++p) {
                if (scratch.seen[p->entry] == scratch.query) {
                    scratch.common[p->entry] += std::min(token.count, p->count);
                } else {
                    scratch.seen[p->entry] = scratch.query;
                    scratch.common[p->entry] = std::min(token.count, p->count);
                    scratch.admitted.emplace_back(p->entry, p->length);
                }
            }
        }
        // A token that runs past the prefix counted whole, so this can only keep too many.
        std::erase_if(scratch.admitted, [&](const std::pair<uint32_t, uint32_t>& admitted) {
            const std::size_t budget = Budget(std::max<std::size_t>(n, admitted.second), bar);
            return prefix > budget && scratch.common[admitted.first] < prefix - budget;
        });
        // The rest of the counts: through the postings, or through the admitted units'
        // own tokens, whichever is less to read.
        std::size_t admittedTokens = 0;
        for (auto [entry, length] : scratch.admitted) admittedTokens += length;
        if (restPostings <= admittedTokens) {
            for (const QueryToken& token : tokens) {
                if (token.position < prefix) continue;
                for (const Posting* p = token.first; p != token.last; ++p)
                    if (scratch.seen[p->entry] == scratch.query)
                        scratch.common[p->entry] += std::min(token.count, p->count);
            }
        } else {
            for (const QueryToken& token : tokens)
                if (token.position >= prefix && token.first) scratch.wanted[token.id] = token.count;
            for (auto [entry, length] : scratch.admitted) {
                const std::vector<uint32_t>& ids = data.entries[entry].folded;
                for (uint32_t id : ids) {
                    if (scratch.taken[id] < scratch.wanted[id]) {
                        ++scratch.taken[id];
                        ++scratch.common[entry];
                    }
                }
                for (uint32_t id : ids) scratch.taken[id] = 0;
            }
            for (const QueryToken& token : tokens)
                if (token.first) scratch.wanted[token.id] = 0;
        }

        for (auto [entry, length] : scratch.admitted) {
            const std::size_t most = std::max<std::size_t>(n, length);
            const std::size_t shared = scratch.common[entry];
            if (shared + Budget(most, bar) < most) continue;
            scratch.ranked.emplace_back(static_cast<int32_t>(100 * shared / most), entry);
        }
        std::sort(scratch.ranked.begin(), scratch.ranked.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });

        for (auto [bound, entry] : scratch.ranked) {
            const int32_t raised = std::max(floor, best.score);
            if (bound < raised) break;
            const std::size_t most = std::max(n, data.entries[entry].folded.size());
            if (scratch.common[entry] + Budget(most, raised) < most) continue;
            verify(entry);
        }
    }
    std::optional<uint32_t> relay;
    if (best.score < floor) relay = FindSame(data.relayExact, data.relays, query);
    return Conclude(data, best, rules, relay);
}

SegmentMatch SearchAll(const Data& data, const PreparedSegment& query, const Rules& rules,
                       TokenPattern& pattern) {
    for (uint32_t entry = 0; entry < data.entries.size(); ++entry)
        if (data.entries[entry].SameAs(query))
            return SegmentMatch{Band::Exact100, 100, data.entryUnit[entry]};

    const std::size_t n = query.folded.size();
    pattern.Assign(query.folded, data.Vocabulary());
    Best best;
    for (uint32_t entry = 0; entry < data.entries.size(); ++entry) {
        const PreparedSegment& unit = data.entries[entry];
        const std::size_t m = unit.folded.size();
        const std::size_t most = std::max(n, m);
        const uint32_t budget = Budget(most, rules.floor);
        if ((n > m ? n - m : m - n) > budget) continue;  // no length can reach the floor
        const uint32_t distance = pattern.Distance(unit.folded, budget);
        if (distance > budget) continue;
        best.Offer(FuzzyScore(query, unit, data.multipleTranslations[entry], distance, rules),
                   entry);
    }
    std::optional<uint32_t> relay;
    if (best.score < rules.floor) {
        for (uint32_t r = 0; r < data.relays.size() && !relay; ++r)
            if (data.relays[r].SameAs(query)) relay = r;
    }
    return Conclude(data, best, rules, relay);
}

struct PreparedBatch {
    std::vector<PreparedSegment> queries;
    std::vector<bool> repeated;
};

PreparedBatch PrepareBatch(const Data& data, const std::vector<Segment>& batch, unsigned workers) {
    PreparedBatch prepared;
    prepared.queries.resize(batch.size());
    std::vector<std::wstring> written(data.substitution ? batch.size() : 0);
    ParallelFor(batch.size(), workers, [&](std::size_t i, unsigned) {
        const Segment query = data.Substituted(batch[i]);
        prepared.queries[i] = PrepareQuery(data, query, Tokenize(query));
        if (data.substitution) written[i] = NormalisedText(batch[i]);
    });
    // In batch order: only an earlier occurrence makes a repetition, of the text as
    // written: substitution changes what a match costs, not what is a repetition.
    prepared.repeated.assign(batch.size(), false);
    std::unordered_set<std::wstring> earlier;
    for (std::size_t i = 0; i < batch.size(); ++i)
        prepared.repeated[i] =
            !earlier.insert(data.substitution ? written[i] : prepared.queries[i].normalised).second;
    return prepared;
}

}  // namespace

int32_t MatchFloor(const MatchOptions& options) {
    return std::clamp(options.minimumMatchValue, 50, 100);
}

std::vector<SegmentMatch> MatchBatch(const TmIndex& index, const std::vector<Segment>& batch,
                                     const MatchOptions& options, unsigned threads,
                                     const SegmentDone& segmentDone) {
    const Data& data = index.data();
    const Rules rules = RulesOf(options);
    const unsigned workers = WorkerCount(threads, batch.size());
    PreparedBatch prepared = PrepareBatch(data, batch, workers);

    std::vector<SegmentMatch> results(batch.size(),
                                      SegmentMatch{Band::Repetition, 0, std::nullopt});
    std::vector<Scratch> scratch(workers);
    std::mutex doneLock;
    ParallelFor(batch.size(), workers, [&](std::size_t i, unsigned worker) {
        if (!prepared.repeated[i])
            results[i] = SearchIndexed(data, prepared.queries[i], rules, scratch[worker]);
        if (segmentDone) {
            std::lock_guard<std::mutex> hold(doneLock);
            segmentDone(i);
        }
    });
    return results;
}

std::vector<SegmentMatch> BruteForceMatch(const TmIndex& index, const std::vector<Segment>& batch,
                                          const MatchOptions& options) {
    const Data& data = index.data();
    const Rules rules = RulesOf(options);
    PreparedBatch prepared = PrepareBatch(data, batch, 1);
    std::vector<SegmentMatch> results(batch.size(),
                                      SegmentMatch{Band::Repetition, 0, std::nullopt});
    TokenPattern pattern;
    for (std::size_t i = 0; i < batch.size(); ++i)
        if (!prepared.repeated[i])
            results[i] = SearchAll(data, prepared.queries[i], rules, pattern);
    return results;
}

}  // namespace orv::engine
