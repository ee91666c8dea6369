#include "engine/app/EngineTM.h"

#include "engine/app/AnalysisLogWriter.h"
#include "engine/app/AnalysisRun.h"
#include "engine/app/EngineApplication.h"
#include "engine/job/JobFile.h"
#include "engine/model/EngineError.h"
#include "engine/tm/LanguageIds.h"
#include "engine/tm/TmxReader.h"

namespace orv::engine {

const TranslationMemory& EngineTM::OpenTM() const {
    if (!tm_) RaiseEngineError(L"No translation memory is open");
    return *tm_;
}

void EngineTM::Open(const std::wstring& path, const std::wstring&, const std::wstring&,
                    const std::wstring& mode) {
    if (mode != L"w" && mode != L"r")
        RaiseEngineError(L"Cannot open " + path + L": unknown open mode \"" + mode + L"\"");
    auto tm = std::make_shared<const TranslationMemory>(ReadTmxFile(path));
    Adopt(std::move(tm), path);
}

void EngineTM::Adopt(std::shared_ptr<const TranslationMemory> tm, const std::wstring& path) {
    tm_ = std::move(tm);
    path_ = path;
    target_.reset();
}

void EngineTM::Close() {
    tm_.reset();
    target_.reset();
}

int32_t EngineTM::get_SourceLanguage() const {
    return LanguageIdFromTag(OpenTM().sourceLanguage).value_or(0);
}

std::vector<int32_t> EngineTM::get_TargetLanguages() const {
    std::vector<int32_t> ids;
    for (const auto& tag : OpenTM().targetLanguages) {
        if (auto id = LanguageIdFromTag(tag)) ids.push_back(*id);
    }
    return ids;
}

void EngineTM::put_TargetLanguage(int32_t languageId) {
    const auto& tm = OpenTM();
    for (const auto& tag : tm.targetLanguages) {
        if (LanguageIdFromTag(tag) == languageId) {
            target_ = tag;
            return;
        }
    }
    const auto wanted = LanguageTagFromId(languageId);
    RaiseEngineError(L"The translation memory has no translations into " +
                     (wanted ? *wanted : L"the language asked for"));
}

void EngineTM::ExecuteJobFile(const std::wstring& jobFilePath) {
    const TranslationMemory& tm = OpenTM();
    const JobDescription job = ReadJobFile(jobFilePath);

    // Without a selection, the TM's first target language: an empty TM made for a pair has
    // exactly one.
    std::wstring target =
        target_.value_or(tm.targetLanguages.empty() ? L"" : tm.targetLanguages.front());
    if (target.empty()) RaiseEngineError(L"The translation memory has no target language");

    bool reused = false;
    auto index = application_.IndexFor(tm_, path_, target, job.useTMFromPreviousAnalysis, reused);
    AnalysisReport report =
        RunAnalysis(tm, *index, job.documents, application_.CurrentMatchOptions());
    report.tmPath = path_;
    if (reused) report.notes.push_back(L"The match index of the previous analysis was used again.");
    if (job.exportUnknown || job.exportFrequent || job.projectTM)
        report.notes.push_back(L"Export and project TM tasks are not performed by this engine.");
    if (job.logFile && !job.logFile->empty()) WriteAnalysisLogs(report, *job.logFile);
}

}  // namespace orv::engine
