#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "IndexRandomTm.h"
#include "engine/match/Matcher.h"
#include "engine/match/TmIndex.h"
#include "engine/match/TokenDistance.h"

namespace orv::engine {
namespace {

uint32_t PlainLevenshtein(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    std::vector<uint32_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<uint32_t>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        uint32_t diagonal = row[0];
        row[0] = static_cast<uint32_t>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            uint32_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0u : 1u)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

TEST(IndexDistanceTest, BitParallelDistanceEqualsTheTextbookOneWithinTheLimit) {
    std::mt19937 random(7);
    auto below = [&](uint32_t n) {
        return std::uniform_int_distribution<uint32_t>(0, n - 1)(random);
    };
    TokenPattern pattern;  // reused, as the matcher does
    for (int round = 0; round < 3000; ++round) {
        const uint32_t alphabet = 1 + below(round % 3 == 0 ? 3 : 40);
        // Lengths around the block size of 64 and beyond it.
        auto length = [&] { return below(4) == 0 ? below(200) : below(round % 2 ? 70 : 12); };
        std::vector<uint32_t> a(length()), b(length());
        for (auto& id : a) id = below(alphabet + 2);  // ids past the alphabet match nothing
        for (auto& id : b) id = below(alphabet);
        const uint32_t expected = PlainLevenshtein(a, b);
        const uint32_t limit =
            below(3) == 0 ? 1000 : below(static_cast<uint32_t>(std::max(a.size(), b.size())) + 1);
        pattern.Assign(a, alphabet);
        const uint32_t got = pattern.Distance(b, limit);
        ASSERT_EQ(got, expected <= limit ? expected : limit + 1) << "round " << round;
    }
}

using OptionSet = std::pair<const char*, MatchOptions>;

// MatchBatch on one and on two threads against the oracle, segment for segment.
void ExpectSameAsBruteForce(const TmIndex& index, const std::vector<Segment>& batch,
                            const OptionSet& optionSet, const std::string& context) {
    const auto& [name, options] = optionSet;
    const auto expected = BruteForceMatch(index, batch, options);
    for (unsigned threads : {1u, 2u}) {
        const auto got = MatchBatch(index, batch, options, threads);
        ASSERT_EQ(got.size(), batch.size());
        for (std::size_t i = 0; i < batch.size(); ++i) {
            ASSERT_EQ(got[i], expected[i])
                << context << ", " << name << ", " << threads << " threads, segment " << i
                << ", oracle score " << expected[i].score << ", index score " << got[i].score;
        }
    }
}

TEST(IndexTest, FindsTheSameBandScoreAndUnitAsTheBruteForceMatcher) {
    const OptionSet optionSets[] = {
        {"floor 50, no penalties", {0, 0, 0, 0, {}}},
        {"floor 70 with penalties", {70, 3, 4, 2, {}}},
        {"floor 90, one-point penalties", {90, 1, 1, 1, {}}},
        {"penalties past the floor", {50, 30, 30, 30, {}}},
    };
    for (uint32_t seed : {1u, 2u, 3u}) {
        test::RandomTm random(seed);
        auto generated = random.NewTm(400);
        const std::vector<Segment> batch = random.NewBatch(generated, 600);
        TmIndex index(generated.tm, L"de-de", 2);
        std::set<Band> bands;
        for (const SegmentMatch& match : BruteForceMatch(index, batch, optionSets[0].second))
            bands.insert(match.band);
        EXPECT_EQ(bands.size(), 8u) << "seed " << seed << ": not every band occurs";
        for (const OptionSet& optionSet : optionSets)
            ExpectSameAsBruteForce(index, batch, optionSet, "seed " + std::to_string(seed));
    }
}

// Short segments and a small vocabulary put the filter's bounds at their edges: a unit of one
// to three tokens reaches a floor with one shared token or none, and a word that occurs many
// times in a segment counts as often as it occurs in both.
TEST(IndexTest, FindsTheSameAsTheBruteForceMatcherOnShortSegmentsAndRepeatedWords) {
    struct Shape {
        const char* name;
        std::size_t vocabulary;
        int shortPercent;
    };
    const Shape shapes[] = {
        {"mostly one to three tokens", 400, 70},
        {"a dozen words", 12, 30},
        {"three words", 3, 50},
    };
    const OptionSet optionSets[] = {
        {"floor 50", {0, 0, 0, 0, {}}},
        {"floor 75 with penalties", {75, 2, 3, 1, {}}},
        {"floor 95", {95, 0, 0, 0, {}}},
        {"floor 99, one-point penalties", {99, 1, 1, 1, {}}},
        {"floor 60, penalties past it", {60, 30, 30, 30, {}}},
        {"floor 50, penalties that cross the start thresholds", {0, 8, 12, 17, {}}},
    };
    for (const Shape& shape : shapes) {
        for (uint32_t seed : {4u, 5u}) {
            test::RandomTm random(seed, shape.vocabulary, shape.shortPercent);
            auto generated = random.NewTm(500);
            const std::vector<Segment> batch = random.NewBatch(generated, 500);
            TmIndex index(generated.tm, L"de-DE", 2);
            for (const OptionSet& optionSet : optionSets)
                ExpectSameAsBruteForce(index, batch, optionSet,
                                       std::string(shape.name) + ", seed " + std::to_string(seed));
        }
    }
}

}  // namespace
}  // namespace orv::engine
