#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>

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

struct OptionSet {
    const char* name;
    MatchOptions options;
};

const OptionSet kOptionSets[] = {
    {"floor 50, no penalties", {0, 0, 0, 0}},
    {"floor 70 with penalties", {70, 3, 4, 2}},
    {"floor 90, one-point penalties", {90, 1, 1, 1}},
    {"penalties past the floor", {50, 30, 30, 30}},
};

TEST(IndexTest, FindsTheSameBandScoreAndUnitAsTheBruteForceMatcher) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        test::RandomTm random(seed);
        auto generated = random.NewTm(400);
        std::vector<Segment> batch = random.NewBatch(generated, 600);
        TmIndex index(generated.tm, L"de-de", 2);
        for (const OptionSet& set : kOptionSets) {
            const auto expected = BruteForceMatch(index, batch, set.options);
            std::map<Band, int> bands;
            for (const SegmentMatch& match : expected) ++bands[match.band];
            if (set.options.minimumMatchValue == 0 && set.options.formattingPenalty == 0) {
                EXPECT_EQ(bands.size(), 8u) << "seed " << seed << ": not every band occurs";
            }
            for (unsigned threads : {1u, 2u}) {
                const auto got = MatchBatch(index, batch, set.options, threads);
                ASSERT_EQ(got.size(), batch.size());
                for (std::size_t i = 0; i < batch.size(); ++i) {
                    ASSERT_EQ(got[i], expected[i])
                        << "seed " << seed << ", " << set.name << ", " << threads
                        << " threads, segment " << i << ", oracle score " << expected[i].score
                        << ", index score " << got[i].score;
                }
            }
        }
    }
}

// Timings for a TM of realistic size; run with --gtest_also_run_disabled_tests.
TEST(IndexTest, DISABLED_IsMuchFasterThanTheBruteForceMatcherOnALargeTm) {
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::time_point since) {
        return std::chrono::duration<double>(Clock::now() - since).count();
    };
    test::RandomTm random(11, 3000);
    auto generated = random.NewTm(20000);
    std::vector<Segment> batch = random.NewBatch(generated, 2000);
    const MatchOptions options;

    auto start = Clock::now();
    TmIndex index(generated.tm, L"de-DE");
    const double build = seconds(start);
    start = Clock::now();
    const auto oneThread = MatchBatch(index, batch, options, 1);
    const double indexed1 = seconds(start);
    start = Clock::now();
    const auto twoThreads = MatchBatch(index, batch, options, 2);
    const double indexed2 = seconds(start);
    start = Clock::now();
    const auto oracle = BruteForceMatch(index, batch, options);
    const double brute = seconds(start);

    std::printf(
        "20000 units, 2000 queries, floor 50: index built in %.3f s; matched in %.3f s "
        "(1 thread), %.3f s (2 threads); brute force %.3f s; speed-up %.1fx\n",
        build, indexed1, indexed2, brute, brute / indexed1);
    EXPECT_EQ(oneThread, oracle);
    EXPECT_EQ(twoThreads, oracle);
    EXPECT_LT(indexed1 * 5, brute);
}

}  // namespace
}  // namespace orv::engine
