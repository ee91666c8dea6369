// Time per data row of a CSV log parse, for a small and a large batch. Each row must find its
// record without a walk through the collection, so the time per row may not grow with the
// batch: the program prints the ratio of the two and fails when it exceeds kMaxRatio.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

#include "platform/NarrowText.h"
#include "results/Files.h"
#include "results/clsLogFileParser.h"

namespace {

namespace fs = std::filesystem;

constexpr int64_t kSmallBatch = 2000;
constexpr int64_t kLargeBatch = 20000;
constexpr double kMaxRatio = 1.5;

// A CSV log file of `rows` documents beside "run.log" in a folder of its own, and a
// collection holding those documents in the opposite order to the log's, so that a walk
// from the front would pay for every row.
class Batch {
public:
    explicit Batch(int64_t rows) {
        std::string pattern = (fs::temp_directory_path() / "orvbench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;

        for (int64_t i = rows; i-- > 0;) files_.Add(orv::FromNarrow(Path(i)));
        std::ofstream csv(folder_ / "run.csv", std::ios::binary);
        csv << ";;;Repetitions;;;;100% Matches;;;;95% - 99%;;;;No Match;;;;Total;;;\r\n"
            << "File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;"
               "Words;Placeables;Percent;Segments;Words;Placeables;Percent;Segments;Words;"
               "Placeables;Percent;Segments;Words;Characters;Placeables\r\n";
        for (int64_t i = 0; i < rows; ++i) {
            csv << Path(i) << ";" << i % 3 << ";5.25;" << i % 7 << ";" << i % 100
                << ";0;12;8;190;3;60;1;4;0;3;2;30;1;25;13;224;1180;4\r\n";
        }
        logFileName_ = orv::FromNarrow((folder_ / "run.log").string());
    }
    ~Batch() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    orv::Files& files() { return files_; }
    const std::wstring& logFileName() const { return logFileName_; }

private:
    static std::string Path(int64_t i) {
        return "C:\\Projects\\Batch\\Document" + std::to_string(i) + ".rtf";
    }

    fs::path folder_;
    orv::Files files_;
    std::wstring logFileName_;
};

void BM_ParseLogFile(benchmark::State& state) {
    const int64_t rows = state.range(0);
    Batch batch(rows);
    for (auto _ : state) {
        orv::clsLogFileParser parser;
        parser.put_LogFileName(batch.logFileName());
        parser.ParseLogFile(batch.files());
        benchmark::DoNotOptimize(parser.GetCsvLogFileContent().size());
    }
    if (!batch.files().Item(1)->get_FileProcessed())
        state.SkipWithError("the parse filled nothing");
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ParseLogFile)
    ->Arg(kSmallBatch)
    ->Arg(kLargeBatch)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Prints as usual and keeps the time per row of every run, by batch size.
class RowTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto rows = run.counters.find("rows");
            if (run.run_type != Run::RT_Iteration || run.error_occurred ||
                rows == run.counters.end() || run.iterations == 0) {
                continue;
            }
            nsPerRow_[static_cast<int64_t>(rows->second.value)] =
                run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations) /
                rows->second.value;
        }
    }

    // Prints the two figures and their ratio; false when the ratio is over the limit.
    bool CheckRatio() const {
        auto small = nsPerRow_.find(kSmallBatch), large = nsPerRow_.find(kLargeBatch);
        if (small == nsPerRow_.end() || large == nsPerRow_.end()) return true;  // filtered out
        double ratio =
            std::max(small->second, large->second) / std::min(small->second, large->second);
        std::printf(
            "time per row: %.0f ns at %lld rows, %.0f ns at %lld rows; ratio %.2f (limit %.1f)\n",
            small->second, static_cast<long long>(kSmallBatch), large->second,
            static_cast<long long>(kLargeBatch), ratio, kMaxRatio);
        return ratio <= kMaxRatio;
    }

private:
    std::map<int64_t, double> nsPerRow_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RowTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (!reporter.CheckRatio()) {
        std::fprintf(stderr, "bench_log_parser: the time per row grows with the batch size\n");
        return 1;
    }
    return 0;
}
