// Matching against the memories of a large language-service provider: a made-up memory of
// 300,000 and one of 1,000,000 units, and beside them the German gettext catalogues of this
// machine. Each memory is written as a TMX file to a temporary folder and then read and
// indexed cold, once, as a cold run does it (its outline, then its units read into the index a
// block at a time: its time and the peak memory it adds, per unit); then a batch of 2,000
// segments is matched through the index on one thread at the 50% and the 75% floor, and
// every tenth segment of it through the oracle (BruteForceMatch), whose results the index
// must equal segment for segment.
//
// Beside them: the index written to a cache file and read back as a warm run reads it (mapped,
// checked, and its first segment matched), and whole runs of orvbatch on the batch as 20 text
// documents: cold without the cache, cold filling it, and warm from it, each with its
// wall-clock time and peak memory.
//
// The summary gives the time per segment, the index's speed against the oracle's on the same
// sample, and how much the time per segment grows from 300,000 to 1,000,000 units: a search
// that reads whole posting lists grows at least as the memory does (3.3 times), one that
// reads only the rarest tokens' lists and stops at a close match grows less. The program
// fails when a result differs from the oracle's, when a segment takes 1 ms or more at 1M units
// on the 50% floor or 0.2 ms on the 75% one, or when on the 75% floor the time per segment
// grows as much as the memory or more. Times on one thread are CPU times, which other work on
// the machine hardly changes; the load's is wall-clock time, as it runs on every processor.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "BenchFolder.h"
#include "GettextCorpus.h"
#include "ProgramLauncher.h"
#include "SyntheticCorpus.h"
#include "engine/match/Matcher.h"
#include "engine/match/TmIndex.h"
#include "engine/match/TmIndexBuilder.h"
#include "engine/match/TmIndexFile.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmxBlockReader.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/TmxWriter.h"
#include "platform/NarrowText.h"

namespace {

namespace fs = std::filesystem;
using orv::engine::MatchOptions;
using orv::engine::Segment;
using orv::engine::SegmentMatch;
using orv::engine::TmIndex;

constexpr std::size_t kSmallUnits = 300000;
constexpr std::size_t kLargeUnits = 1000000;
constexpr std::size_t kQueries = 2000;
constexpr std::size_t kSampleStride = 10;
constexpr uint64_t kSeed = 20240611;
constexpr int32_t kFloors[] = {50, 75};

using orv::bench::BenchFolder;
using orv::bench::ProgramLauncher;

std::uintmax_t StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0) return std::stoull(line.substr(prefix.size())) * 1024;
    throw std::runtime_error(std::string("no ") + field + " in /proc/self/status");
}

// Lowers this process's peak memory (VmHWM) to what it holds now, so that the next peak is
// that of the work that follows.
void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    if (!clear.flush()) throw std::runtime_error("cannot reset the peak memory");
}

struct Subject {
    std::string name;
    std::size_t units = 0;
    std::vector<Segment> batch, sample;
    std::wstring tmxPath;
    std::unique_ptr<TmIndex> index;
    std::optional<double> loadSeconds, peakPerUnit, keptPerUnit;
    std::optional<double> warmStartSeconds, warmPrivatePerUnit, indexFileBytesPerUnit;
    // Whole runs of orvbatch.
    std::optional<orv::bench::ProgramLauncher::Figures> coldRun, fillingRun, warmRun;
    std::vector<std::string> documents;
};

std::unique_ptr<ProgramLauncher> launcher;
std::unique_ptr<BenchFolder> folder;
std::vector<std::unique_ptr<Subject>> subjects;
std::vector<std::string> failures;

MatchOptions OptionsAt(int32_t floor) {
    MatchOptions options;
    options.minimumMatchValue = floor;
    options.formattingPenalty = 1;
    options.placeablePenalty = 1;
    options.multipleTranslationsPenalty = 1;
    return options;
}

// Makes a corpus in a child process, so that its making leaves no freed memory behind in this
// one to hide the load's, and writes its memory to `tmxPath` and its batch, as the sources
// of a second memory, to `batchPath`. False when the child fails.
template <class MakeCorpus>
bool WriteInChild(MakeCorpus makeCorpus, const std::wstring& tmxPath,
                  const std::wstring& batchPath) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        try {
            const orv::bench::Corpus corpus = makeCorpus();
            orv::engine::WriteTmxFile(corpus.tm, tmxPath);
            orv::engine::TranslationMemory batch{L"en-US", {L"de-DE"}, {}};
            for (const Segment& segment : corpus.batch)
                batch.units.push_back({segment, {{L"de-DE", Segment{L"-", {}}}}});
            orv::engine::WriteTmxFile(batch, batchPath);
            _exit(0);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "bench_large_memory: %s\n", error.what());
            _exit(1);
        }
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

template <class MakeCorpus>
void AddSubject(std::string name, MakeCorpus makeCorpus) {
    auto s = std::make_unique<Subject>();
    s->name = std::move(name);
    const fs::path tmx = folder->path() / (s->name + ".tmx");
    const fs::path batch = folder->path() / (s->name + "-batch.tmx");
    s->tmxPath = orv::FromNarrow(tmx.string());
    if (!WriteInChild(makeCorpus, s->tmxPath, orv::FromNarrow(batch.string()))) {
        failures.push_back("could not make the " + s->name + " memory");
        return;
    }
    for (orv::engine::TranslationUnit& unit :
         orv::engine::ReadTmxFile(orv::FromNarrow(batch.string())).units)
        s->batch.push_back(std::move(unit.source));
    for (std::size_t i = 0; i < s->batch.size(); i += kSampleStride)
        s->sample.push_back(s->batch[i]);
    // The units are counted when the memory is read.
    std::printf("%s: %.0f MB of TMX, %zu segments in the batch, %zu in the sample\n",
                s->name.c_str(), static_cast<double>(fs::file_size(tmx)) / 1e6, s->batch.size(),
                s->sample.size());
    subjects.push_back(std::move(s));
}

void Load(benchmark::State& state, Subject* s) {
    for (auto _ : state) {
        s->index.reset();
        const std::uintmax_t before = StatusBytes("VmRSS");
        ResetPeak();
        const auto start = std::chrono::steady_clock::now();
        {
            // As a cold run opens its memory and indexes it: the outline at the open, then
            // the units read again, a block at a time, into the index.
            s->units = orv::engine::ReadTmxOutline(s->tmxPath).units;
            orv::engine::TmIndexBuilder builder(L"de-DE");
            orv::engine::ReadTmxFileInBlocks(
                s->tmxPath, orv::engine::TmIndexBuilder::kUnitsPerBlock,
                [&](std::span<const orv::engine::TranslationUnit> block) { builder.Add(block); });
            s->index = std::make_unique<TmIndex>(builder.Finish());
        }
        s->loadSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto units = static_cast<double>(s->units);
        const auto above = [before](std::uintmax_t bytes) {
            return static_cast<double>(bytes) - static_cast<double>(before);  // may be less
        };
        s->peakPerUnit = above(StatusBytes("VmHWM")) / units;
        malloc_trim(0);  // what the memory's reading freed is not the index's
        s->keptPerUnit = std::max(0.0, above(StatusBytes("VmRSS"))) / units;
    }
    state.counters["peak_bytes_per_unit"] = s->peakPerUnit.value_or(0);
}

// One run of a benchmark of `s` without its index is an error, not a crash.
bool Loaded(benchmark::State& state, const Subject* s) {
    if (s->index) return true;
    state.SkipWithError("the memory was not loaded: run its load benchmark too");
    return false;
}

std::string Describe(const SegmentMatch& match) {
    static const char* const kBands[] = {"Repetition", "100",   "95-99",   "85-94",
                                         "75-84",      "50-74", "Relayed", "NoMatch"};
    return std::string(kBands[static_cast<int>(match.band)]) + " score " +
           std::to_string(match.score) + " unit " +
           (match.unitIndex ? std::to_string(*match.unitIndex) : std::string("-"));
}

void Index(benchmark::State& state, const Subject* s, MatchOptions options, bool wholeBatch) {
    if (!Loaded(state, s)) return;
    const std::vector<Segment>& batch = wholeBatch ? s->batch : s->sample;
    for (auto _ : state) benchmark::DoNotOptimize(MatchBatch(*s->index, batch, options, 1));
    state.counters["segments"] = static_cast<double>(batch.size());
}

// The oracle on the sample; the index must find the same on it.
void Oracle(benchmark::State& state, const Subject* s, MatchOptions options) {
    if (!Loaded(state, s)) return;
    std::vector<SegmentMatch> expected;
    for (auto _ : state) expected = BruteForceMatch(*s->index, s->sample, options);
    const std::vector<SegmentMatch> got = MatchBatch(*s->index, s->sample, options, 1);
    for (std::size_t i = 0; i < s->sample.size(); ++i) {
        if (got[i] == expected[i]) continue;
        failures.push_back(s->name + " at floor " + std::to_string(options.minimumMatchValue) +
                           ", sample segment " + std::to_string(i) + " \"" +
                           orv::engine::ToUtf8(s->sample[i].text) + "\": the index finds " +
                           Describe(got[i]) + ", the oracle " + Describe(expected[i]));
        state.SkipWithError("the index differs from the oracle");
        return;
    }
}

// The index as a cache file, read back as a warm run reads it: mapped, every byte checked,
// and the first segment of the batch matched. Its private memory is what the reading adds
// beyond the file's pages, which the system can drop and read again.
void WarmStart(benchmark::State& state, Subject* s) {
    if (!Loaded(state, s)) return;
    const std::wstring path = orv::FromNarrow((folder->path() / (s->name + ".index")).string());
    orv::engine::WriteTmIndexFile(*s->index, path, "bench");
    s->indexFileBytesPerUnit = static_cast<double>(fs::file_size(fs::path(orv::ToNarrow(path)))) /
                               static_cast<double>(s->units);
    const std::vector<Segment> first{s->batch.front()};
    for (auto _ : state) {
        const std::uintmax_t before = StatusBytes("RssAnon");
        const auto start = std::chrono::steady_clock::now();
        const auto read = orv::engine::ReadTmIndexFile(path, "bench", L"de-DE", {});
        if (!read) {
            state.SkipWithError("the index file could not be read back");
            failures.push_back(s->name + ": the index file could not be read back");
            return;
        }
        benchmark::DoNotOptimize(MatchBatch(*read, first, OptionsAt(50), 1));
        s->warmStartSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        s->warmPrivatePerUnit = std::max(0.0, static_cast<double>(StatusBytes("RssAnon")) -
                                                  static_cast<double>(before)) /
                                static_cast<double>(s->units);
    }
}

// The batch as 20 text documents, a segment a line.
void WriteDocuments(Subject& s) {
    const std::size_t perDocument = (s.batch.size() + 19) / 20;
    for (std::size_t d = 0; d * perDocument < s.batch.size(); ++d) {
        const fs::path path = folder->path() / (s.name + "-" + std::to_string(d) + ".txt");
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = d * perDocument; i < std::min(s.batch.size(), (d + 1) * perDocument);
             ++i) {
            std::wstring text = s.batch[i].text;
            std::erase(text, orv::engine::kCodeMark);
            out << orv::engine::ToUtf8(text) << "\n";
        }
        s.documents.push_back(path.string());
    }
}

// orvbatch analysing the documents of `s` against its memory, as a user runs it; its wall
// time and peak memory, none when it fails.
std::optional<ProgramLauncher::Figures> RunOrvbatch(const Subject& s,
                                                    const std::vector<std::string>& cache) {
    std::vector<std::string> arguments{ORVBATCH_PATH, "analyse", "--tm",   orv::ToNarrow(s.tmxPath),
                                       "--target",    "de-DE",   "--user", "bench",
                                       "--format",    "csv",     "-q"};
    arguments.insert(arguments.end(), cache.begin(), cache.end());
    arguments.insert(arguments.end(), s.documents.begin(), s.documents.end());
    return launcher->Run(arguments);
}

void WholeRuns(benchmark::State& state, Subject* s) {
    WriteDocuments(*s);
    const std::string cache = (folder->path() / (s->name + "-cache")).string();
    for (auto _ : state) {
        s->coldRun = RunOrvbatch(*s, {"--no-index-cache"});
        fs::remove_all(cache);
        s->fillingRun = RunOrvbatch(*s, {"--index-cache", cache});
        s->warmRun = RunOrvbatch(*s, {"--index-cache", cache});
    }
    if (!s->coldRun || !s->fillingRun || !s->warmRun) {
        state.SkipWithError("orvbatch failed");
        failures.push_back(s->name + ": a run of orvbatch failed");
    }
}

template <class... Args>
void Register(const std::string& name, Args&&... args) {
    benchmark::RegisterBenchmark(name.c_str(), std::forward<Args>(args)...)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

std::string At(const Subject& s, int32_t floor) {
    return s.name + "/floor:" + std::to_string(floor);
}

void RegisterSubject(Subject& s) {
    Register("load_and_index/" + s.name, Load, &s);
    for (int32_t floor : kFloors) {
        Register("index/" + At(s, floor) + "/batch", Index, &s, OptionsAt(floor), true);
        Register("index/" + At(s, floor) + "/sample", Index, &s, OptionsAt(floor), false);
        Register("oracle/" + At(s, floor) + "/sample", Oracle, &s, OptionsAt(floor));
    }
    Register("warm_start/" + s.name, WarmStart, &s);
    Register("whole_runs/" + s.name, WholeRuns, &s);
}

// Prints as usual and keeps the CPU time of every run, by name.
class TimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            cpu_[run.run_name.function_name] =
                run.cpu_accumulated_time / static_cast<double>(run.iterations);
        }
    }

    // The CPU seconds of one run of `name`.
    std::optional<double> Seconds(const std::string& name) const {
        auto at = cpu_.find(name);
        if (at == cpu_.end()) return std::nullopt;
        return at->second;
    }

private:
    std::map<std::string, double> cpu_;
};

std::string Figure(std::optional<double> value, const char* format) {
    if (!value) return "-";
    char text[32];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

std::optional<double> PerSegment(std::optional<double> seconds, std::size_t segments) {
    if (!seconds || segments == 0) return std::nullopt;
    return *seconds * 1e6 / static_cast<double>(segments);
}

// The summary table; records a failure when the time per segment grows too much.
void Summarise(const TimeReporter& times) {
    std::printf("\n%-16s %8s %7s %10s %10s\n", "memory", "units", "load(s)", "peak B/u",
                "kept B/u");
    for (const auto& s : subjects)
        std::printf("%-16s %8zu %7s %10s %10s\n", s->name.c_str(), s->units,
                    Figure(s->loadSeconds, "%.1f").c_str(), Figure(s->peakPerUnit, "%.0f").c_str(),
                    Figure(s->keptPerUnit, "%.0f").c_str());

    std::printf("\n%-16s %9s %12s %11s\n", "memory", "warm(s)", "private B/u", "file B/u");
    for (const auto& s : subjects)
        std::printf("%-16s %9s %12s %11s\n", s->name.c_str(),
                    Figure(s->warmStartSeconds, "%.3f").c_str(),
                    Figure(s->warmPrivatePerUnit, "%.0f").c_str(),
                    Figure(s->indexFileBytesPerUnit, "%.0f").c_str());
    std::printf("(warm: the index file mapped, checked and its first segment matched)\n");

    const auto run = [](const std::optional<ProgramLauncher::Figures>& figures) {
        if (!figures) return std::string("-");
        char text[40];
        std::snprintf(text, sizeof text, "%.2f s %5.0f MB", figures->seconds,
                      figures->peakMegabytes);
        return std::string(text);
    };
    std::printf("\n%-16s %18s %18s %18s\n", "orvbatch", "cold, no cache", "cold, filling", "warm");
    for (const auto& s : subjects)
        std::printf("%-16s %18s %18s %18s\n", s->name.c_str(), run(s->coldRun).c_str(),
                    run(s->fillingRun).c_str(), run(s->warmRun).c_str());
    std::printf("(whole runs on %zu segments in 20 documents: wall-clock time, peak memory)\n",
                kQueries);

    std::printf("\n%-16s %5s %14s %15s %16s %8s\n", "memory", "floor", "index us/seg",
                "sample us/seg", "oracle us/seg", "speedup");
    std::map<std::string, std::optional<double>> batchTime;
    for (const auto& s : subjects) {
        for (int32_t floor : kFloors) {
            const std::string at = At(*s, floor);
            auto batch = PerSegment(times.Seconds("index/" + at + "/batch"), s->batch.size());
            auto sample = PerSegment(times.Seconds("index/" + at + "/sample"), s->sample.size());
            auto oracle = PerSegment(times.Seconds("oracle/" + at + "/sample"), s->sample.size());
            std::optional<double> speedup;
            if (sample && oracle && *sample > 0) speedup = *oracle / *sample;
            batchTime[at] = batch;
            std::printf("%-16s %5d %14s %15s %16s %8s\n", s->name.c_str(), floor,
                        Figure(batch, "%.1f").c_str(), Figure(sample, "%.1f").c_str(),
                        Figure(oracle, "%.0f").c_str(), Figure(speedup, "%.0fx").c_str());
        }
    }
    std::printf(
        "(microseconds per segment on one thread; oracle and sample on every %zuth "
        "segment of the batch)\n\n",
        kSampleStride);
    for (int32_t floor : kFloors) {
        const std::string suffix = "/floor:" + std::to_string(floor);
        auto small = batchTime["synthetic-300k" + suffix],
             large = batchTime["synthetic-1M" + suffix];
        if (!small || !large || *small <= 0) continue;
        const double growth = *large / *small;
        const double memoryGrowth = static_cast<double>(kLargeUnits) / kSmallUnits;
        // At the 50% floor the units that really reach it grow as the memory does, and so does
        // any search's time; there only the time per segment is held to its target.
        const bool growthLimited = floor >= 75;
        const double target = floor >= 75 ? 200 : 1000;
        std::printf(
            "floor %d: %.0f us per segment at 1M units (target %.0f); grows %.2f times from "
            "300k (%s %.2f)\n",
            floor, *large, target, growth, growthLimited ? "limit" : "memory grows", memoryGrowth);
        if (*large >= target)
            failures.push_back("at floor " + std::to_string(floor) + " a segment takes " +
                               Figure(*large, "%.0f") + " us at 1M units");
        if (growthLimited && growth >= memoryGrowth)
            failures.push_back("at floor " + std::to_string(floor) +
                               " the time per segment grows " + Figure(growth, "%.2f") +
                               " times from 300k to 1M units");
    }
}

int Run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    launcher = std::make_unique<ProgramLauncher>();
    folder = std::make_unique<BenchFolder>();

    for (std::size_t units : {kSmallUnits, kLargeUnits})
        AddSubject(units == kSmallUnits ? "synthetic-300k" : "synthetic-1M",
                   [units] { return orv::bench::MakeSyntheticCorpus(units, kQueries, kSeed); });
    AddSubject("gettext", [] { return orv::bench::LoadGettextCorpus(kQueries, kSeed).corpus; });
    for (auto& s : subjects) RegisterSubject(*s);

    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Summarise(reporter);
    for (const std::string& failure : failures)
        std::fprintf(stderr, "bench_large_memory: %s\n", failure.c_str());
    return failures.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 1;
    try {
        status = Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_large_memory: %s\n", error.what());
    }
    subjects.clear();
    folder.reset();
    launcher.reset();
    return status;
}
