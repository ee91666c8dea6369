#include "engine/app/EngineTM.h"

#include <system_error>

#include "engine/app/AnalysisLogWriter.h"
#include "engine/app/AnalysisRun.h"
#include "engine/app/EngineApplication.h"
#include "engine/app/EngineControl.h"
#include "engine/app/EngineExtras.h"
#include "engine/app/JobOutputs.h"
#include "engine/app/JobTasks.h"
#include "engine/job/JobFile.h"
#include "engine/model/EngineError.h"
#include "engine/tm/LanguageIds.h"
#include "engine/tm/TmUsers.h"
#include "engine/tm/TmxReader.h"
#include "platform/AutomationError.h"
#include "platform/NativePath.h"

namespace orv::engine {

std::optional<TmFileStamp> StampOfTmFile(const std::wstring& path) {
    const auto native = ToNativePath(path);
    if (!native || native->empty()) return std::nullopt;
    std::error_code error;
    TmFileStamp stamp;
    stamp.size = std::filesystem::file_size(*native, error);
    if (error) return std::nullopt;
    stamp.modified = std::filesystem::last_write_time(*native, error);
    if (error) return std::nullopt;
    return stamp;
}

const TranslationMemory& EngineTM::OpenTM() const {
    if (!tm_) RaiseEngineError(L"No translation memory is open");
    return *tm_;
}

void EngineTM::Open(const std::wstring& path, const std::wstring& userName,
                    const std::wstring& password, const std::wstring& mode) {
    // The component reports every failed open with one number: the reason is kept for a
    // program that wants to tell its user more.
    try {
        OpenFile(path, userName, password, mode);
    } catch (const AutomationError& e) {
        application_.control()->RecordTmOpenFailure(e.description());
        throw;
    }
    application_.control()->RecordTmOpenFailure({});
}

void EngineTM::OpenFile(const std::wstring& path, const std::wstring& userName,
                        const std::wstring& password, const std::wstring& mode) {
    if (mode != L"w" && mode != L"r")
        RaiseEngineError(L"Cannot open " + path + L": unknown open mode \"" + mode + L"\"");
    // The TM open before and its lock go first, even when this one then fails to open: a
    // writer could otherwise be kept out by its own lock.
    Close();
    // Stamped before reading: a change made while it is read shows at the next open.
    auto stamp = StampOfTmFile(path);
    EngineControl& control = *application_.control();
    OpenedTm opened;
    try {
        // Loading a large TM takes seconds; a cancel request should end it as it ends the
        // analysis.
        opened = OpenTmxFile(path, userName, password,
                             mode == L"w" ? TmFileLock::Kind::Exclusive : TmFileLock::Kind::Shared,
                             control.CancelCheck());
    } catch (const LoadCancelled&) {
        // The TM is opened for a batch: its client hears of the cancel as of one that
        // stopped before any document was done.
        control.ClearCancelRequest();
        application_.OnBatchCancelledByUser.Raise(0);
        RaiseEngineError(L"Batch cancelled by user");
    }
    auto tm = std::make_shared<const TranslationMemory>(std::move(opened.tm));
    Adopt(std::move(tm), path, stamp, std::move(opened.lock));
}

void EngineTM::Adopt(std::shared_ptr<const TranslationMemory> tm, const std::wstring& path,
                     std::optional<TmFileStamp> stamp, TmFileLock lock) {
    tm_ = std::move(tm);
    path_ = path;
    stamp_ = stamp;
    lock_ = std::move(lock);
    target_.reset();
}

void EngineTM::Close() {
    tm_.reset();
    lock_.Release();
    stamp_.reset();
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
    EngineControl& control = *application_.control();
    control.ClearJobFailure();
    try {
        RunJob(jobFilePath, control);
    } catch (const AutomationError& e) {
        control.RecordJobFailure(e.description());
        throw;
    }
}

void EngineTM::RunJob(const std::wstring& jobFilePath, EngineControl& control) {
    const std::string encoding = control.Extras().documentEncoding;
    if (!encoding.empty() && !IsKnownDocumentEncoding(encoding))
        RaiseEngineError(L"The encoding given for the documents is not known");
    const TranslationMemory& tm = OpenTM();
    const JobDescription job = ReadJobFile(jobFilePath);
    RefuseOutputsOverInputs(job, jobFilePath, path_);

    // Without a selection, the TM's first target language: an empty TM made for a pair has
    // exactly one.
    std::wstring target =
        target_.value_or(tm.targetLanguages.empty() ? L"" : tm.targetLanguages.front());
    if (target.empty()) RaiseEngineError(L"The translation memory has no target language");
    const std::wstring logFile = job.logFile.value_or(L"");

    // Settings files are read before the index is built: a bad one fails the job at once.
    DocumentSettings settings = ReadDocumentSettings(job.htmlSettingsFile, job.sgmlSettingsFile);
    settings.encoding = encoding;
    settings.multiSegmentFootnotes = application_.MultiSegmentFootnotes();
    bool reused = false;
    AnalysisRun run;
    try {
        std::shared_ptr<const TmIndex> index;
        try {
            // Building the index of a large TM takes seconds too.
            index = application_.IndexFor(tm_, path_, target, job.useTMFromPreviousAnalysis, reused,
                                          control.CancelCheck());
        } catch (const LoadCancelled&) {
            control.ClearCancelRequest();
            throw AnalysisCancelled{0};
        }
        run = RunAnalysis(tm, *index, job.documents, application_.CurrentMatchOptions(), settings,
                          0, &control);
    } catch (const AnalysisCancelled& cancelled) {
        // A log of a stopped batch must not pass for a complete one. The client hears of the cancel
        // first: a log that cannot be written must not keep it from knowing.
        application_.OnBatchCancelledByUser.Raise(static_cast<int32_t>(cancelled.documentsDone));
        if (!logFile.empty()) {
            try {
                WriteCancelledLog(logFile, cancelled.documentsDone, job.documents.size());
            } catch (const AutomationError&) {
                // The CSV log is removed before the readable log is written; nothing is left
                // that would pass for results.
            }
        }
        RaiseEngineError(L"Batch cancelled by user");
    }
    run.report.tmPath = path_;
    if (reused)
        run.report.notes.push_back(L"The match index of the previous analysis was used again.");

    if (job.exportUnknown) ExportUnknownSegments(run, tm.sourceLanguage, *job.exportUnknown);
    if (job.exportFrequent) ExportFrequentSegments(run, tm.sourceLanguage, *job.exportFrequent);
    if (job.projectTM) CreateProjectTM(run, tm, *job.projectTM);
    if (!logFile.empty()) WriteAnalysisLogs(run.report, logFile);
}

}  // namespace orv::engine
