#include "engine/match/Matcher.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <span>
#include <unordered_set>

#include "engine/match/CandidateFilter.h"
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
int32_t FuzzyScore(const PreparedSegment& query, const StoredSegment& unit, bool multiple,
                   uint32_t distance, const Rules& rules) {
    const auto differ = [](const auto& a, const auto& b) {
        return !std::equal(a.begin(), a.end(), b.begin(), b.end());
    };
    const std::size_t longest = std::max(query.folded.size(), unit.folded.size());
    int64_t score = longest == 0 ? 100
                                 : 100 * static_cast<int64_t>(longest - distance) /
                                       static_cast<int64_t>(longest);
    if (differ(query.codeKinds, unit.codeKinds)) score -= rules.formatting;
    if (differ(query.placeables, unit.placeables)) score -= rules.placeable;
    if (multiple) score -= rules.multipleTranslations;
    if (distance == 0 && differ(query.original, unit.original)) score -= 1;  // letter case only
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

// The lowest position in `table` (sorted by key and position) whose segment, given by
// `segmentAt`, is `query`'s text with its codes.
template <class SegmentAt>
std::optional<uint32_t> FindSame(std::span<const ExactRef> table, SegmentAt&& segmentAt,
                                 const PreparedSegment& query) {
    auto at = std::lower_bound(table.begin(), table.end(), ExactRef{query.exactKey, 0});
    for (; at != table.end() && at->key == query.exactKey; ++at)
        if (segmentAt(at->position).SameAs(query)) return at->position;
    return std::nullopt;
}

std::optional<uint32_t> SameEntry(const Data& data, const PreparedSegment& query) {
    return FindSame(
        data.exact, [&](uint32_t e) { return data.Entry(e); }, query);
}
std::optional<uint32_t> SameRelay(const Data& data, const PreparedSegment& query) {
    return FindSame(
        data.relayExact, [&](uint32_t r) { return data.Relay(r); }, query);
}

SegmentMatch Conclude(const Data& data, const Best& best, const Rules& rules,
                      std::optional<uint32_t> relay) {
    if (best.score >= rules.floor)
        return SegmentMatch{BandOf(best.score), best.score, data.entryUnits[best.entry]};
    if (relay) return SegmentMatch{Band::Relayed, 100, data.relayUnits[*relay]};
    return SegmentMatch{Band::NoMatch, 0, std::nullopt};
}

// Working memory of one thread, kept from segment to segment.
struct Scratch {
    CandidateFilter filter;
    TokenPattern pattern;
};

// The similarities from which a search starts before it settles for less: a segment with a
// close match then reads only the postings of its few rarest tokens, and one without pays
// little more than the search at the floor alone.
constexpr int32_t kStartingThresholds[] = {90, 75};

// The best match is the best of the units whose similarity reaches the floor, and penalties
// only lower a score: once a unit scores s, only units of similarity s or more can beat it
// (or tie it from a lower position). A search at threshold t that finds a score of t or more
// has therefore seen every unit that can beat it; one that finds less tries a lower
// threshold, down to the floor.
SegmentMatch SearchIndexed(const Data& data, const PreparedSegment& query, const Rules& rules,
                           Scratch& scratch) {
    if (auto same = SameEntry(data, query))
        return SegmentMatch{Band::Exact100, 100, data.entryUnits[*same]};

    const int32_t floor = rules.floor;
    const std::size_t n = query.folded.size();
    Best best;

    if (n == 0) {
        for (uint32_t entry : data.empty)
            best.Offer(
                FuzzyScore(query, data.Entry(entry), data.entryMultiple[entry] != 0, 0, rules),
                entry);
    } else {
        scratch.pattern.Assign(query.folded, data.Vocabulary());
        scratch.filter.Assign(data, query);
        std::vector<int32_t> thresholds;
        for (int32_t t : kStartingThresholds)
            if (t > floor) thresholds.push_back(t);
        thresholds.push_back(floor);
        for (int32_t threshold : thresholds) {
            for (const CandidateFilter::Candidate& candidate :
                 scratch.filter.Find(std::max(threshold, best.score))) {
                const int32_t bar = std::max(threshold, best.score);
                if (candidate.bound < bar) break;
                const StoredSegment unit = data.Entry(candidate.entry);
                const uint32_t budget = Budget(std::max(n, unit.folded.size()), bar);
                const uint32_t distance = scratch.pattern.Distance(unit.folded, budget);
                if (distance > budget) continue;
                best.Offer(FuzzyScore(query, unit, data.entryMultiple[candidate.entry] != 0,
                                      distance, rules),
                           candidate.entry);
            }
            if (best.score >= threshold) break;
        }
    }
    std::optional<uint32_t> relay;
    if (best.score < floor) relay = SameRelay(data, query);
    return Conclude(data, best, rules, relay);
}

SegmentMatch SearchAll(const Data& data, const PreparedSegment& query, const Rules& rules,
                       TokenPattern& pattern) {
    for (uint32_t entry = 0; entry < data.Entries(); ++entry)
        if (data.Entry(entry).SameAs(query))
            return SegmentMatch{Band::Exact100, 100, data.entryUnits[entry]};

    const std::size_t n = query.folded.size();
    pattern.Assign(query.folded, data.Vocabulary());
    Best best;
    for (uint32_t entry = 0; entry < data.Entries(); ++entry) {
        const StoredSegment unit = data.Entry(entry);
        const std::size_t m = unit.folded.size();
        const std::size_t most = std::max(n, m);
        const uint32_t budget = Budget(most, rules.floor);
        if ((n > m ? n - m : m - n) > budget) continue;  // no length can reach the floor
        const uint32_t distance = pattern.Distance(unit.folded, budget);
        if (distance > budget) continue;
        best.Offer(FuzzyScore(query, unit, data.entryMultiple[entry] != 0, distance, rules), entry);
    }
    std::optional<uint32_t> relay;
    if (best.score < rules.floor) {
        for (uint32_t r = 0; r < data.Relays() && !relay; ++r)
            if (data.Relay(r).SameAs(query)) relay = r;
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
