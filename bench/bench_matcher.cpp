// Time of a batch analysis through the TM index (MatchBatch) against the oracle that scores
// every unit (BruteForceMatch), on a made-up corpus and on the German gettext catalogues of
// this machine, at the 50% and the 75% floor. The index must find exactly what the oracle
// finds and be faster than it on one thread by the factors in kBars; the program prints a
// table of the figures and fails when a result differs or a bar is missed.
//
// The oracle would take minutes on a whole batch, so the ratio compares both on the same
// sample, every kSampleStride-th segment of the batch; the index also runs on the whole
// batch, on one and on two threads, and the two must agree. One thread's figures are the
// CPU time of that thread, which other work on the machine hardly changes; those of two
// threads, and the ratio with them, are wall-clock time.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "GettextCorpus.h"
#include "SyntheticCorpus.h"
#include "engine/match/Matcher.h"
#include "engine/match/TmIndex.h"
#include "engine/text/Utf8.h"

namespace {

using orv::engine::MatchOptions;
using orv::engine::Segment;
using orv::engine::SegmentMatch;
using orv::engine::TmIndex;

constexpr std::size_t kSyntheticUnits = 100000;
constexpr std::size_t kSyntheticQueries = 10000;
constexpr std::size_t kHeldOut = 5000;
constexpr std::size_t kMinimumPairs = 40000;
constexpr std::size_t kSampleStride = 10;
constexpr uint64_t kSeed = 20240611;

struct Bar {
    int32_t floor;
    double synthetic, gettext;  // least speedup of the index on one thread
};
constexpr Bar kBars[] = {{50, 3.0, 8.0}, {75, 50.0, 50.0}};

struct Subject {
    std::string name;
    bool synthetic;
    orv::bench::Corpus corpus;
    std::vector<Segment> sample;
    std::unique_ptr<TmIndex> index;
};

std::vector<std::unique_ptr<Subject>> subjects;
std::vector<std::string> failures;
// Results by "corpus/floor:F/sample" (the oracle's) or ".../batch" (the index's on one thread).
std::map<std::string, std::vector<SegmentMatch>> expected;
std::map<std::string, std::vector<SegmentMatch>> found;  // by benchmark name

MatchOptions OptionsAt(int32_t floor) {
    MatchOptions options;
    options.minimumMatchValue = floor;
    options.formattingPenalty = 1;
    options.placeablePenalty = 1;
    options.multipleTranslationsPenalty = 1;
    return options;
}

std::string Describe(const SegmentMatch& match) {
    static const char* const kBands[] = {"Repetition", "100",   "95-99",   "85-94",
                                         "75-84",      "50-74", "Relayed", "NoMatch"};
    return std::string(kBands[static_cast<int>(match.band)]) + " score " +
           std::to_string(match.score) + " unit " +
           (match.unitIndex ? std::to_string(*match.unitIndex) : std::string("-"));
}

// Keeps `results` under `key`; when results are kept under `reference`, they must be equal.
void Check(benchmark::State& state, const std::string& key, const std::string& reference,
           const std::vector<Segment>& batch, std::vector<SegmentMatch> results) {
    found[key] = std::move(results);
    auto want = expected.find(reference);
    if (want == expected.end()) return;  // the reference was filtered out
    const std::vector<SegmentMatch>& got = found[key];
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (got[i] == want->second[i]) continue;
        failures.push_back(key + " differs from " + reference + " at segment " + std::to_string(i) +
                           " \"" + orv::engine::ToUtf8(batch[i].text) + "\": " + Describe(got[i]) +
                           " instead of " + Describe(want->second[i]));
        state.SkipWithError("results differ");
        return;
    }
}

void BuildIndex(benchmark::State& state, const Subject* s, unsigned threads) {
    for (auto _ : state) TmIndex index(s->corpus.tm, L"de-DE", threads);
}

// `at` names the corpus and the floor.
void Oracle(benchmark::State& state, const Subject* s, const std::string& at,
            MatchOptions options) {
    std::vector<SegmentMatch> results;
    for (auto _ : state) results = BruteForceMatch(*s->index, s->sample, options);
    expected[at + "/sample"] = std::move(results);
}

void Index(benchmark::State& state, const Subject* s, const std::string& at, MatchOptions options,
           bool wholeBatch, unsigned threads) {
    const std::vector<Segment>& batch = wholeBatch ? s->corpus.batch : s->sample;
    const std::string part = at + (wholeBatch ? "/batch" : "/sample");
    std::vector<SegmentMatch> results;
    for (auto _ : state) results = MatchBatch(*s->index, batch, options, threads);
    if (wholeBatch && threads == 1) expected[part] = results;
    Check(state, "index/" + part + "/threads:" + std::to_string(threads), part, batch,
          std::move(results));
}

template <class... Args>
void Register(const std::string& name, Args&&... args) {
    benchmark::RegisterBenchmark(name.c_str(), std::forward<Args>(args)...)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void RegisterSubject(const Subject& s) {
    for (unsigned threads : {1u, 2u})
        Register("build_index/" + s.name + "/threads:" + std::to_string(threads), BuildIndex, &s,
                 threads);
    for (const Bar& bar : kBars) {
        const std::string at = s.name + "/floor:" + std::to_string(bar.floor);
        const MatchOptions options = OptionsAt(bar.floor);
        Register("oracle/" + at + "/sample/threads:1", Oracle, &s, at, options);
        for (bool wholeBatch : {false, true})
            for (unsigned threads : {1u, 2u})
                Register("index/" + at + (wholeBatch ? "/batch" : "/sample") +
                             "/threads:" + std::to_string(threads),
                         Index, &s, at, options, wholeBatch, threads);
    }
}

void AddSubject(std::string name, bool synthetic, orv::bench::Corpus corpus) {
    auto s = std::make_unique<Subject>();
    s->name = std::move(name);
    s->synthetic = synthetic;
    s->corpus = std::move(corpus);
    for (std::size_t i = 0; i < s->corpus.batch.size(); i += kSampleStride)
        s->sample.push_back(s->corpus.batch[i]);
    s->index = std::make_unique<TmIndex>(s->corpus.tm, L"de-DE");
    std::printf("%s: %zu units, %zu segments in the batch, %zu in the sample\n", s->name.c_str(),
                s->corpus.tm.units.size(), s->corpus.batch.size(), s->sample.size());
    RegisterSubject(*s);
    subjects.push_back(std::move(s));
}

// Prints as usual and keeps the CPU and the real time of every run, by name.
class TimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            const auto iterations = static_cast<double>(run.iterations);
            cpu_[run.run_name.function_name] = run.cpu_accumulated_time * 1000 / iterations;
            real_[run.run_name.function_name] = run.real_accumulated_time * 1000 / iterations;
        }
    }

    // In milliseconds per run: the CPU time of a run on one thread, the real time otherwise.
    std::optional<double> Time(const std::string& name) const {
        return Find(name.ends_with("/threads:1") ? cpu_ : real_, name);
    }
    std::optional<double> RealTime(const std::string& name) const { return Find(real_, name); }

private:
    static std::optional<double> Find(const std::map<std::string, double>& times,
                                      const std::string& name) {
        auto at = times.find(name);
        if (at == times.end()) return std::nullopt;
        return at->second;
    }

    std::map<std::string, double> cpu_, real_;
};

std::string Figure(std::optional<double> value, const char* format) {
    if (!value) return "-";
    char text[32];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

// How many segments of the whole batch fell into each band.
std::string BandCounts(const std::vector<SegmentMatch>& results) {
    static const char* const kShort[] = {"rep", "100", "95", "85", "75", "50", "relay", "none"};
    std::size_t counts[std::size(kShort)] = {};
    for (const SegmentMatch& match : results) ++counts[static_cast<int>(match.band)];
    std::string text;
    for (std::size_t b = 0; b < std::size(kShort); ++b)
        if (counts[b]) text += std::string(kShort[b]) + " " + std::to_string(counts[b]) + "  ";
    return text;
}

// The summary table; records a failure for every bar missed.
void Summarise(const TimeReporter& times) {
    std::printf("\n%-10s %5s %11s %10s %10s %8s %8s %6s %10s %10s\n", "corpus", "floor",
                "oracle(ms)", "index 1t", "index 2t", "ratio 1t", "ratio 2t", "bar", "batch 1t",
                "batch 2t");
    for (const auto& s : subjects) {
        for (const Bar& bar : kBars) {
            const std::string at = s->name + "/floor:" + std::to_string(bar.floor);
            const std::string oracleName = "oracle/" + at + "/sample/threads:1";
            auto oracle = times.Time(oracleName), oracleReal = times.RealTime(oracleName);
            auto one = times.Time("index/" + at + "/sample/threads:1");
            auto two = times.Time("index/" + at + "/sample/threads:2");
            std::optional<double> ratio1, ratio2;
            if (oracle && one) ratio1 = *oracle / *one;
            if (oracleReal && two) ratio2 = *oracleReal / *two;
            const double least = s->synthetic ? bar.synthetic : bar.gettext;
            std::printf("%-10s %5d %11s %10s %10s %8s %8s %6s %10s %10s\n", s->name.c_str(),
                        bar.floor, Figure(oracle, "%.1f").c_str(), Figure(one, "%.2f").c_str(),
                        Figure(two, "%.2f").c_str(), Figure(ratio1, "%.1fx").c_str(),
                        Figure(ratio2, "%.1fx").c_str(), Figure(least, "%.0fx").c_str(),
                        Figure(times.Time("index/" + at + "/batch/threads:1"), "%.1f").c_str(),
                        Figure(times.Time("index/" + at + "/batch/threads:2"), "%.1f").c_str());
            if (ratio1 && *ratio1 < least)
                failures.push_back("the index on " + at + " is " + Figure(ratio1, "%.1f") +
                                   " times as fast as the oracle, less than " +
                                   Figure(least, "%.0f"));
        }
    }
    std::printf(
        "(ms per run; oracle and index on every %zuth segment, batch on all; 1t CPU time, 2t "
        "real time)\n",
        kSampleStride);
    for (const auto& [key, results] : found)
        if (key.find("/batch/threads:1") != std::string::npos)
            std::printf("bands of %s: %s\n", key.c_str(), BandCounts(results).c_str());
}

int Run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    AddSubject("synthetic", true,
               orv::bench::MakeSyntheticCorpus(kSyntheticUnits, kSyntheticQueries, kSeed));
    try {
        orv::bench::GettextCorpus gettext = orv::bench::LoadGettextCorpus(kHeldOut, kSeed);
        std::printf(
            "gettext: %zu msgid/msgstr pairs in %zu German catalogues (at least %zu needed)\n",
            gettext.pairs, gettext.catalogues, kMinimumPairs);
        if (gettext.pairs < kMinimumPairs)
            failures.push_back("only " + std::to_string(gettext.pairs) +
                               " gettext pairs on this machine, at least " +
                               std::to_string(kMinimumPairs) +
                               " are needed: install more packages that ship German catalogues");
        if (gettext.pairs > 2 * kHeldOut) AddSubject("gettext", false, std::move(gettext.corpus));
    } catch (const std::exception& error) {
        failures.push_back(std::string("no gettext corpus: ") + error.what());
    }

    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Summarise(reporter);
    for (const std::string& failure : failures)
        std::fprintf(stderr, "bench_matcher: %s\n", failure.c_str());
    return failures.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_matcher: %s\n", error.what());
        return 1;
    }
}
