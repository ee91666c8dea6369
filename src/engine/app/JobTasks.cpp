#include "engine/app/JobTasks.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/model/EngineError.h"
#include "engine/system/AtomicFileWriter.h"
#include "engine/system/FileFailure.h"
#include "engine/text/Placeholders.h"
#include "engine/text/Tokenizer.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmxWriter.h"

namespace orv::engine {
namespace {

struct DistinctSegment {
    std::size_t first;  // position of its first occurrence in the batch
    std::size_t occurrences = 0;
};

// The distinct segments of the batch by their normalised text, in order of first occurrence.
std::vector<DistinctSegment> DistinctSegments(const AnalysisRun& run) {
    std::vector<DistinctSegment> distinct;
    std::unordered_map<std::wstring, std::size_t> byText;
    for (std::size_t i = 0; i < run.batch.size(); ++i) {
        auto [at, added] = byText.try_emplace(NormalisedText(run.batch[i]), distinct.size());
        if (added) distinct.push_back({i});
        ++distinct[at->second].occurrences;
    }
    return distinct;
}

// The match value in the target language: a relayed segment has none there.
int32_t TargetScore(const SegmentMatch& match) {
    return match.band == Band::Relayed || match.band == Band::NoMatch ? 0 : match.score;
}

// The segment as one line of text. A placeholder ("%s") is text to translate around and is
// written as it stands; another standalone code between two words (a line break, an image)
// becomes a space, so that leaving it out does not join the words; paired codes (bold, a
// link) sit inside words as often as between them and are simply left out.
std::wstring PlainLine(const Segment& segment) {
    const auto blank = [](wchar_t c) {
        return c == L' ' || c == L'\r' || c == L'\n' || c == L'\t';
    };
    std::wstring line;
    std::size_t code = 0;
    for (std::size_t i = 0; i < segment.text.size(); ++i) {
        const wchar_t c = segment.text[i];
        if (c != kCodeMark) {
            line += blank(c) ? L' ' : c;
            continue;
        }
        const InlineCode* held = code < segment.codes.size() ? &segment.codes[code] : nullptr;
        ++code;
        if (held && IsPlaceholderCode(*held)) {
            line += held->content;
            continue;
        }
        const bool standalone = held && held->kind == InlineCode::Kind::Standalone;
        const bool betweenWords = !line.empty() && line.back() != L' ' &&
                                  i + 1 < segment.text.size() && !blank(segment.text[i + 1]) &&
                                  segment.text[i + 1] != kCodeMark;
        if (standalone && betweenWords) line += L' ';
    }
    return line;
}

void WriteBytes(const std::wstring& path, const std::string& bytes, const wchar_t* what) {
    try {
        ReplaceFileAtomically(path, bytes);
    } catch (const FileFailure& failure) {
        RaiseEngineError(std::wstring(L"Cannot write the ") + what + L" " + path + L": " +
                         FileProblemText(failure.problem()));
    }
}

// Writes the chosen segments, with their counts when `counts` is set.
void WriteExport(const AnalysisRun& run, const std::wstring& sourceLanguage,
                 const std::vector<DistinctSegment>& segments, bool counts,
                 const std::wstring& file, int32_t fileType, const wchar_t* what) {
    if (file.empty()) RaiseEngineError(std::wstring(L"The ") + what + L" has no file name");
    if (fileType == kTmxFileType) {
        TranslationMemory exported;
        exported.sourceLanguage = sourceLanguage;
        for (const auto& s : segments) {
            TranslationUnit unit;
            unit.source = run.batch[s.first];
            if (counts) unit.usageCount = static_cast<int64_t>(s.occurrences);
            exported.units.push_back(std::move(unit));
        }
        WriteTmxFile(exported, file);  // its errors name the file and the fault
        return;
    }
    std::string text;
    for (const auto& s : segments) {
        if (counts) text += std::to_string(s.occurrences) + "\t";
        text += ToUtf8(PlainLine(run.batch[s.first])) + "\n";
    }
    WriteBytes(file, text, what);
}

}  // namespace

void ExportUnknownSegments(const AnalysisRun& run, const std::wstring& sourceLanguage,
                           const ExportUnknownTask& task) {
    std::vector<DistinctSegment> unknown;
    for (const auto& s : DistinctSegments(run)) {
        if (TargetScore(run.matches[s.first]) < task.maxMatch) unknown.push_back(s);
    }
    WriteExport(run, sourceLanguage, unknown, false, task.file, task.fileType,
                L"export of unknown segments");
}

void ExportFrequentSegments(const AnalysisRun& run, const std::wstring& sourceLanguage,
                            const ExportFrequentTask& task) {
    std::vector<DistinctSegment> frequent;
    for (const auto& s : DistinctSegments(run)) {
        if (static_cast<int64_t>(s.occurrences) >= task.occurrences) frequent.push_back(s);
    }
    std::stable_sort(frequent.begin(), frequent.end(),
                     [](const auto& a, const auto& b) { return a.occurrences > b.occurrences; });
    WriteExport(run, sourceLanguage, frequent, true, task.file, task.fileType,
                L"export of frequent segments");
}

void CreateProjectTM(const AnalysisRun& run, const TranslationMemory& tm,
                     const ProjectTMTask& task) {
    if (task.file.empty()) RaiseEngineError(L"The project TM has no file name");
    std::vector<bool> used(tm.units.size(), false);
    for (const auto& match : run.matches) {
        const bool matched = match.band != Band::Repetition && match.band != Band::NoMatch &&
                             match.band != Band::Relayed;
        if (matched && match.unitIndex && *match.unitIndex < used.size())
            used[*match.unitIndex] = true;
    }
    TranslationMemory project;
    project.sourceLanguage = tm.sourceLanguage;
    project.targetLanguages = tm.targetLanguages;
    for (std::size_t u = 0; u < tm.units.size(); ++u) {
        if (used[u]) project.units.push_back(tm.units[u]);
    }
    WriteTmxFile(project, task.file);
}

}  // namespace orv::engine
