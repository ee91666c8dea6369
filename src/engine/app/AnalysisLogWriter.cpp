#include "engine/app/AnalysisLogWriter.h"

#include <charconv>
#include <cstdio>
#include <memory>

#include "OrvBatchAnalyseVersion.h"
#include "engine/model/EngineError.h"
#include "engine/system/AtomicFileWriter.h"
#include "engine/system/FileFailure.h"
#include "platform/NarrowText.h"
#include "platform/PathSyntax.h"

namespace orv::engine {
namespace {

constexpr const char* kCrLf = "\r\n";

// Labels of the bands in log order, and of the total.
constexpr const char* kBandLabels[kReportBands] = {"Repetitions", "100% Matches", "95% - 99%",
                                                   "85% - 94%",   "75% - 84%",    "50% - 74%",
                                                   "No Match",    "Relayed"};

std::string Number(int64_t value) {
    return std::to_string(value);
}

// Characters per word with "." and two decimals, whatever the locale.
std::string CharsPerWord(const Counts& total) {
    const double value =
        total.words == 0 ? 0.0
                         : static_cast<double>(total.characters) / static_cast<double>(total.words);
    char buffer[64];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return error == std::errc() ? std::string(buffer, end) : "0.00";
}

// A reason stands where numbers would: it must split no field and read as no number.
std::string ReasonField(const std::wstring& reason) {
    std::wstring cleaned;
    for (wchar_t c : reason) cleaned += (c == L';' || c == L'\r' || c == L'\n') ? L' ' : c;
    if (cleaned.empty()) cleaned = L"Not analysed";
    return ToNarrow(cleaned);
}

std::string CsvRow(const DocumentReport& document) {
    std::string row = ToNarrow(document.file);
    if (document.failure) {
        const std::string reason = ReasonField(*document.failure);
        row += ";" + reason + ";" + reason;
        for (std::size_t i = 0; i < 4 * (kReportBands + 1); ++i) row += ";";
        return row;
    }
    row += ";" + Number(document.taggingErrors) + ";" + CharsPerWord(document.total);
    for (Band band : kLogBandOrder) {
        const BandTally& tally = document.tally(band);
        row += ";" + Number(tally.segments) + ";" + Number(tally.words) + ";" +
               Number(tally.placeables) + ";" + Number(Percent(tally.words, document.total.words));
    }
    row += ";" + Number(document.segments) + ";" + Number(document.total.words) + ";" +
           Number(document.total.characters) + ";" + Number(document.total.placeables);
    return row;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

void AppendBandTable(std::string& text, const DocumentReport& document) {
    text += "  Band            Segments      Words  Placeables  Percent";
    text += kCrLf;
    for (std::size_t b = 0; b < kReportBands; ++b) {
        const BandTally& tally = document.tally(kLogBandOrder[b]);
        std::string label = kBandLabels[b];
        label.resize(14, ' ');
        text += "  " + label + Padded(Number(tally.segments), 10) +
                Padded(Number(tally.words), 11) + Padded(Number(tally.placeables), 12) +
                Padded(Number(Percent(tally.words, document.total.words)) + "%", 9) + kCrLf;
    }
    std::string label = "Total";
    label.resize(14, ' ');
    text += "  " + label + Padded(Number(document.segments), 10) +
            Padded(Number(document.total.words), 11) +
            Padded(Number(document.total.placeables), 12) + kCrLf;
    text += "  Characters: " + Number(document.total.characters) +
            "   Characters per word: " + CharsPerWord(document.total) +
            "   Tagging errors: " + Number(document.taggingErrors) + kCrLf;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    try {
        ReplaceFileAtomically(path, bytes);
    } catch (const FileFailure& failure) {
        RaiseEngineError(L"Cannot write the analysis log " + path + L": " +
                         FileProblemText(failure.problem()));
    }
}

// Removes a log file of an earlier or failed run; one that is not there is no fault.
void RemoveLogFile(const std::wstring& file) {
    RemoveFileQuietly(file);
}

}  // namespace

std::string CsvLogText(const AnalysisReport& report) {
    std::string line1 = ";;";
    for (const char* label : kBandLabels) line1 += std::string(";") + label + ";;;";
    line1 += ";Total;;;";
    std::string line2 = "File;Tagging Errors;Chars/Word";
    for (std::size_t b = 0; b < kReportBands; ++b) line2 += ";Segments;Words;Placeables;Percent";
    line2 += ";Segments;Words;Characters;Placeables";

    std::string text = line1 + kCrLf + line2 + kCrLf;
    for (const auto& document : report.documents) text += CsvRow(document) + kCrLf;
    return text;
}

std::string ReadableLogText(const AnalysisReport& report) {
    std::string text = std::string("Batch analysis (OrvBatchAnalyse ") + kComponentVersion + ")";
    text += kCrLf;
    text += "Translation memory: " + ToNarrow(report.tmPath) + kCrLf;
    text += "Languages: " + ToNarrow(report.sourceLanguage) + " to " +
            ToNarrow(report.targetLanguage) + kCrLf;
    text += "Lowest fuzzy match: " + Number(report.matchFloor) + "%" + kCrLf;
    text += "Documents: " + Number(static_cast<int64_t>(report.documents.size())) + kCrLf;
    for (const auto& note : report.notes) text += ToNarrow(note) + kCrLf;
    for (const auto& document : report.documents) {
        text += kCrLf;
        text += "Document: " + ToNarrow(document.file) + kCrLf;
        if (document.failure) {
            text += "  Not analysed: " + ToNarrow(*document.failure) + kCrLf;
            continue;
        }
        if (!document.encoding.empty())
            text += "  Encoding: " + ToNarrow(document.encoding) + kCrLf;
        AppendBandTable(text, document);
    }
    text += kCrLf;
    text += "All documents";
    text += kCrLf;
    AppendBandTable(text, report.totals);
    return text;
}

void WriteCancelledLog(const std::wstring& logFile, std::size_t documentsDone,
                       std::size_t documents) {
    const std::wstring csvFile = WithExtension(logFile, L".csv");
    RemoveLogFile(csvFile);
    if (csvFile == logFile) return;
    std::string text = "Batch analysis cancelled by the user after ";
    text += Number(static_cast<int64_t>(documentsDone)) + " of " +
            Number(static_cast<int64_t>(documents)) + " documents; no results were written.";
    text += kCrLf;
    WriteFile(logFile, text);
}

void WriteAnalysisLogs(const AnalysisReport& report, const std::wstring& logFile) {
    const std::wstring csvFile = WithExtension(logFile, L".csv");
    // Neither log may outlive a failure to write the other: each alone would pass for the
    // results of this job.
    try {
        WriteFile(csvFile, CsvLogText(report));
        if (csvFile != logFile) WriteFile(logFile, ReadableLogText(report));
    } catch (...) {
        RemoveLogFile(csvFile);
        RemoveLogFile(logFile);
        throw;
    }
}

}  // namespace orv::engine
