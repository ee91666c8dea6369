// Time and peak memory of reading a Word document of about five million words, against a
// baseline measured in the same run: the same words as a plain-text document. The document is
// made in memory by the test writer of Word files, in a child process, and written with its
// text to a temporary folder, so that making it leaves no mark on this process's memory. Each
// peak is measured in a child process of its own, which holds nothing but the file's bytes and
// what the reader takes. Fails when a read of the Word document takes kMaxSeconds or more of
// CPU time or adds kMaxPeakBytes or more.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "BenchFolder.h"
#include "engine/formats/Document.h"
#include "support/office/WordFiles.h"

namespace {

namespace fs = std::filesystem;
using orv::engine::DocumentFormat;
using orv::engine::DocumentText;

constexpr std::size_t kTargetWords = 5'000'000;
constexpr double kMaxSeconds = 10.0;
constexpr std::uintmax_t kMaxPeakBytes = std::uintmax_t{1} << 30;

// A small, fixed pseudo-random source, the same on every machine.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint32_t Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state_ >> 33);
    }
    std::size_t Below(std::size_t bound) { return Next() % bound; }

private:
    uint64_t state_;
};

// Words made of syllables, 30,000 of them, drawn with a bias towards the first ones as in
// running text.
class Vocabulary {
public:
    explicit Vocabulary(Random& random) {
        static const char* const kSyllables[] = {
            "ba", "ker", "lo",  "mi",   "ston", "ra",  "ve",  "tin", "du", "sel", "gra", "pho",
            "ne", "qui", "za",  "tor",  "hem",  "li",  "dra", "con", "ex", "pen", "sur", "fa",
            "wo", "ny",  "ick", "ment", "al",   "ous", "ing", "ly",  "er", "an",  "po",  "tu"};
        for (int i = 0; i < 30000; ++i) {
            std::string word;
            const std::size_t syllables = 1 + random.Below(4);
            for (std::size_t s = 0; s < syllables; ++s) word += kSyllables[random.Below(36)];
            words_.push_back(std::move(word));
        }
    }
    const std::string& Draw(Random& random) const {
        const std::size_t a = random.Below(words_.size()), b = random.Below(words_.size());
        return words_[a < b ? a : b];
    }

private:
    std::vector<std::string> words_;
};

std::string Hex(Random& random) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", random.Next());
    return text;
}

// A Word document's body of paragraphs as a word processor writes them (runs split by editing
// history, fonts and sizes on every run, now and then a bold word, a table, a footnote), and
// the same words as plain text.
struct GeneratedDocument {
    orv::test::WordFile word;
    std::string text;
    std::size_t words = 0;
    std::uintmax_t wordPeak = 0, textPeak = 0;
};

GeneratedDocument Generate() {
    Random random(20261207);
    const Vocabulary vocabulary(random);
    GeneratedDocument document;
    std::string notes, notesText;
    int noteId = 1;
    const std::string runProperties =
        "<w:rFonts w:ascii=\"Calibri\" w:hAnsi=\"Calibri\" w:cs=\"Calibri\"/><w:sz "
        "w:val=\"22\"/><w:lang w:val=\"en-GB\"/>";
    const auto run = [&](const std::string& text, bool bold) {
        return "<w:r w:rsidR=\"" + Hex(random) + "\" w:rsidRPr=\"" + Hex(random) + "\"><w:rPr>" +
               (bold ? "<w:b/>" : "") + runProperties + "</w:rPr><w:t xml:space=\"preserve\">" +
               text + "</w:t></w:r>";
    };
    // A paragraph of 2 to 6 sentences of 5 to 24 words.
    const auto paragraph = [&](std::string& text, std::size_t& words) {
        std::string xml = "<w:p w:rsidR=\"" + Hex(random) + "\" w:rsidRDefault=\"" + Hex(random) +
                          "\" w:rsidP=\"" + Hex(random) +
                          "\"><w:pPr><w:spacing w:after=\"120\"/></w:pPr>";
        std::string runText;
        const std::size_t sentences = 2 + random.Below(5);
        for (std::size_t s = 0; s < sentences; ++s) {
            const std::size_t length = 5 + random.Below(20);
            for (std::size_t w = 0; w < length; ++w) {
                std::string word = vocabulary.Draw(random);
                if (w == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
                if (w + 1 == length) word += '.';
                const bool bold = w > 0 && w + 1 < length && random.Below(40) == 0;
                const std::string spaced = (s + w > 0 ? " " : "") + word;
                text += spaced;
                ++words;
                if (bold) {
                    xml += run(runText, false) + run(" ", false);
                    runText.clear();
                    xml += run(word, true);
                } else {
                    runText += spaced;
                }
                if (runText.size() > 24) {
                    xml += run(runText, false);
                    runText.clear();
                }
            }
        }
        if (!runText.empty()) xml += run(runText, false);
        text += "\n";
        return xml;
    };
    std::string& body = document.word.body;
    while (document.words < kTargetWords) {
        const std::size_t kind = random.Below(50);
        if (kind == 0) {
            body += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr>";
            for (int row = 0; row < 3; ++row) {
                body += "<w:tr>";
                for (int cell = 0; cell < 3; ++cell)
                    body += "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>" +
                            paragraph(document.text, document.words) + "</w:p></w:tc>";
                body += "</w:tr>";
            }
            body += "</w:tbl>";
        } else if (kind == 1) {
            body += paragraph(document.text, document.words) + "<w:r><w:footnoteReference w:id=\"" +
                    std::to_string(++noteId) + "\"/></w:r></w:p>";
            notes += "<w:footnote w:id=\"" + std::to_string(noteId) + "\">" +
                     paragraph(notesText, document.words) + "</w:p></w:footnote>";
        } else {
            body += paragraph(document.text, document.words) + "</w:p>";
        }
    }
    document.text += notesText;
    document.word.footnotes =
        "<w:footnote w:type=\"separator\" w:id=\"0\"><w:p><w:r><w:separator/></w:r></w:p>"
        "</w:footnote>" +
        notes;
    return document;
}

using orv::bench::BenchFolder;

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("could not write " + path.string());
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs `work` in a child process, which writes its result to the pipe; returns what it wrote.
template <typename Work>
std::string InChild(Work&& work) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::string result;
        try {
            result = work();
        } catch (...) {
            _exit(1);
        }
        const bool written =
            write(pipeEnds[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string result;
    char buffer[256];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        throw std::runtime_error("a child process failed");
    return result;
}

// The most this process has held in memory so far, in bytes (VmHWM).
std::uintmax_t PeakResident() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    throw std::runtime_error("no VmHWM in /proc/self/status");
}

struct Input {
    std::string word, text;
    std::size_t words = 0;
    std::uintmax_t wordPeak = 0, textPeak = 0;
};
Input* input = nullptr;

std::size_t Blocks(const std::string& bytes, DocumentFormat format) {
    return orv::engine::ReadDocumentBytes(bytes, format, {}).blocks.size();
}

// The peak memory that reading `bytes` adds, in a child process that holds little more than
// them when it starts.
std::uintmax_t PeakOfRead(const std::string& bytes, DocumentFormat format) {
    return std::stoull(InChild([&] {
        const std::uintmax_t before = PeakResident();
        benchmark::DoNotOptimize(Blocks(bytes, format));
        return std::to_string(PeakResident() - before);
    }));
}

void BM_ReadWordDocument(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Blocks(input->word, DocumentFormat::Word));
    state.counters["words"] = static_cast<double>(input->words);
    state.counters["peak_MB"] = static_cast<double>(input->wordPeak) / 1e6;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input->word.size()));
}
BENCHMARK(BM_ReadWordDocument)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ReadSameTextAsPlainText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Blocks(input->text, DocumentFormat::PlainText));
    state.counters["words"] = static_cast<double>(input->words);
    state.counters["peak_MB"] = static_cast<double>(input->textPeak) / 1e6;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input->text.size()));
}
BENCHMARK(BM_ReadSameTextAsPlainText)->Unit(benchmark::kSecond)->Iterations(1);

class TimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            const double cpu = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            const double peak =
                run.counters.count("peak_MB") ? run.counters.at("peak_MB").value : 0;
            if (run.benchmark_name().find("Word") != std::string::npos) {
                wordSeconds = cpu;
                wordPeakMb = peak;
            }
        }
    }
    double wordSeconds = -1, wordPeakMb = -1;
};

int Run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const BenchFolder folder;
    const std::size_t words = std::stoull(InChild([&] {
        const GeneratedDocument document = Generate();
        WriteFile(folder / "generated.docx", orv::test::WordBytes(document.word));
        WriteFile(folder / "generated.txt", document.text);
        return std::to_string(document.words);
    }));
    Input in{ReadFile(folder / "generated.docx"), ReadFile(folder / "generated.txt"), words};
    input = &in;
    // Before any timed read: memory that a read let go of and the allocator kept would hide
    // the next read's peak.
    in.wordPeak = PeakOfRead(in.word, DocumentFormat::Word);
    in.textPeak = PeakOfRead(in.text, DocumentFormat::PlainText);

    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf(
        "Word document: %zu words, %.1f MB zipped; plain text: %.1f MB, its read adds "
        "%.1f MB\n",
        words, static_cast<double>(in.word.size()) / 1e6, static_cast<double>(in.text.size()) / 1e6,
        static_cast<double>(in.textPeak) / 1e6);
    std::printf("Word read: %.2f s CPU (limit %.0f s), peak memory added %.1f MB (limit %.0f MB)\n",
                reporter.wordSeconds, kMaxSeconds, reporter.wordPeakMb,
                static_cast<double>(kMaxPeakBytes) / 1e6);
    bool failed = false;
    if (reporter.wordSeconds >= kMaxSeconds) {
        std::fprintf(stderr, "bench_office_reader: reading the Word document takes too long\n");
        failed = true;
    }
    if (reporter.wordPeakMb * 1e6 >= static_cast<double>(kMaxPeakBytes)) {
        std::fprintf(stderr,
                     "bench_office_reader: reading the Word document takes too much memory\n");
        failed = true;
    }
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_office_reader: %s\n", error.what());
        return 1;
    }
}
