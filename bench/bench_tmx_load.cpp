// Time and peak memory of reading a TMX file of 100,000 units into memory. The file is
// written by the made-up corpus generator to a temporary folder, in a child process so that
// making it leaves no mark on this process's peak memory. Fails when a load takes
// kMaxSeconds or more or when the peak memory it adds reaches kMaxMemoryRatio times the
// file's size. A load runs on one thread; its time is that thread's CPU time, which other
// work on the machine hardly changes (the wall-clock time is printed too).

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "SyntheticCorpus.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/TmxWriter.h"
#include "platform/NarrowText.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kUnits = 100000;
constexpr uint64_t kSeed = 20240611;
constexpr double kMaxSeconds = 1.5;
constexpr double kMaxMemoryRatio = 10.0;

class TmxFile {
public:
    TmxFile() {
        std::string pattern = (fs::temp_directory_path() / "orvbench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        path_ = orv::FromNarrow((folder_ / "synthetic.tmx").string());
        const pid_t child = fork();
        if (child == 0) {
            try {
                orv::engine::WriteTmxFile(orv::bench::MakeSyntheticCorpus(kUnits, 0, kSeed).tm,
                                          path_);
                _exit(0);
            } catch (...) {
                _exit(1);
            }
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            Remove();
            throw std::runtime_error("could not write the TMX file");
        }
        bytes_ = fs::file_size(folder_ / "synthetic.tmx");
    }
    ~TmxFile() { Remove(); }
    TmxFile(const TmxFile&) = delete;
    TmxFile& operator=(const TmxFile&) = delete;

    const std::wstring& path() const { return path_; }
    std::uintmax_t bytes() const { return bytes_; }

private:
    void Remove() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;
    std::wstring path_;
    std::uintmax_t bytes_ = 0;
};

// The most this process has held in memory so far, in bytes (VmHWM).
std::uintmax_t PeakResident() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    throw std::runtime_error("no VmHWM in /proc/self/status");
}

TmxFile* file = nullptr;

void BM_ReadTmxFile(benchmark::State& state) {
    std::size_t units = 0;
    for (auto _ : state) units = orv::engine::ReadTmxFile(file->path()).units.size();
    if (units != kUnits) state.SkipWithError("the TM read back has the wrong number of units");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file->bytes()));
}
BENCHMARK(BM_ReadTmxFile)->Unit(benchmark::kMillisecond)->UseRealTime();

class TimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            cpuSeconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            realSeconds = run.real_accumulated_time / static_cast<double>(run.iterations);
        }
    }
    double cpuSeconds = -1, realSeconds = -1;
};

int Run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TmxFile tmx;
    file = &tmx;

    // The first load, before any other, so that the peak it adds is its own.
    const std::uintmax_t before = PeakResident();
    std::size_t units = orv::engine::ReadTmxFile(tmx.path()).units.size();
    const std::uintmax_t peak = PeakResident() - before;
    const double memoryRatio = static_cast<double>(peak) / static_cast<double>(tmx.bytes());

    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf(
        "TMX file: %zu units, %.1f MB; peak memory added by a load: %.1f MB, %.2f times "
        "the file (limit %.0f)\n",
        units, static_cast<double>(tmx.bytes()) / 1e6, static_cast<double>(peak) / 1e6, memoryRatio,
        kMaxMemoryRatio);
    if (reporter.cpuSeconds >= 0)
        std::printf("time per load: %.3f s (limit %.1f s); wall clock %.3f s\n",
                    reporter.cpuSeconds, kMaxSeconds, reporter.realSeconds);
    bool failed = false;
    auto fail = [&](const char* message) {
        std::fprintf(stderr, "bench_tmx_load: %s\n", message);
        failed = true;
    };
    if (units != kUnits) fail("the TM read back has the wrong number of units");
    if (memoryRatio >= kMaxMemoryRatio) fail("a load takes too much memory for the file's size");
    if (reporter.cpuSeconds >= kMaxSeconds) fail("a load takes too long");
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_tmx_load: %s\n", error.what());
        return 1;
    }
}
