#include "engine/app/EngineTM.h"

#include "engine/app/AnalysisLogWriter.h"
#include "engine/app/AnalysisRun.h"
#include "engine/app/EngineApplication.h"
#include "engine/app/EngineControl.h"
#include "engine/app/EngineExtras.h"
#include "engine/app/JobOutputs.h"
#include "engine/app/JobTasks.h"
#include "engine/cache/TmCache.h"
#include "engine/job/JobFile.h"
#include "engine/match/TmIndexBuilder.h"
#include "engine/model/EngineError.h"
#include "engine/tm/LanguageIds.h"
#include "engine/tm/TmUsers.h"
#include "engine/tm/TmxBlockReader.h"
#include "engine/tm/TmxReader.h"
#include "platform/AutomationError.h"

namespace orv::engine {

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
    auto stamp = StateOfTmFile(path);
    EngineControl& control = *application_.control();
    const auto kind = mode == L"w" ? TmFileLock::Kind::Exclusive : TmFileLock::Kind::Shared;
    const auto cache = application_.Cache();
    if (cache && stamp && OpenFromCache(path, *stamp, *cache, userName, password, kind)) return;
    OpenedTm opened;
    try {
        // Loading a large TM takes seconds; a cancel request should end it as it ends the
        // analysis.
        if (stamp &&
            OpenOutline(path, *stamp, cache, userName, password, kind, control.CancelCheck()))
            return;
        opened = OpenTmxFile(path, userName, password, kind, control.CancelCheck());
    } catch (const LoadCancelled&) {
        // The TM is opened for a batch: its client hears of the cancel as of one that
        // stopped before any document was done.
        control.ClearCancelRequest();
        application_.OnBatchCancelledByUser.Raise(0);
        RaiseEngineError(L"Batch cancelled by user");
    }
    // Changed while it was read: what was read belongs to no state that a cache or a later
    // open could name.
    if (stamp && StateOfTmFile(path) != stamp) stamp.reset();
    auto tm = std::make_shared<const TranslationMemory>(std::move(opened.tm));
    if (cache && stamp)
        cache->KeepLanguages(*stamp, {tm->sourceLanguage, tm->targetLanguages, tm->units.size()});
    Adopt(std::move(tm), path, stamp, std::move(opened.lock));
}

bool EngineTM::OpenFromCache(const std::wstring& path, const TmFileState& state,
                             const TmCache& cache, const std::wstring& userName,
                             const std::wstring& password, TmFileLock::Kind kind) {
    const auto languages = cache.FindLanguages(state);
    if (!languages) return false;
    TmFileLock lock = TmFileLock::Take(path, kind);
    // The users come from the file itself, never from the cache, and are asked first.
    TmxHeader header = ReadTmxHeader(path);
    auto tm = std::make_shared<TranslationMemory>();
    tm->sourceLanguage = languages->sourceLanguage;
    tm->targetLanguages = languages->targetLanguages;
    tm->users = std::move(header.users);
    CheckTmUser(*tm, path, userName, password);
    // Replaced while its header was read: read it whole, as it is now.
    if (StateOfTmFile(path) != state) return false;
    Adopt(std::move(tm), path, state, std::move(lock), false);
    return true;
}

bool EngineTM::OpenOutline(const std::wstring& path, const TmFileState& state,
                           const std::optional<TmCache>& cache, const std::wstring& userName,
                           const std::wstring& password, TmFileLock::Kind kind,
                           const StopCheck& stop) {
    TmFileLock lock = TmFileLock::Take(path, kind);
    TmxOutline outline = ReadTmxOutline(path, stop);
    // The file was there to read but not to lock a moment before.
    if (!lock.held()) lock = TmFileLock::Take(path, kind);
    auto tm = std::make_shared<TranslationMemory>(std::move(outline.tm));
    CheckTmUser(*tm, path, userName, password);
    // Changed while it was read: read it whole, as it is now.
    if (StateOfTmFile(path) != state) return false;
    if (cache)
        cache->KeepLanguages(state, {tm->sourceLanguage, tm->targetLanguages, outline.units});
    Adopt(std::move(tm), path, state, std::move(lock), false);
    return true;
}

void EngineTM::RefuseChangedFile() const {
    RaiseEngineError(L"The translation memory " + path_ +
                     L" has changed since it was opened; open it again");
}

std::shared_ptr<const TranslationMemory> EngineTM::Units(const StopCheck& stop) {
    OpenTM();
    if (unitsRead_) return tm_;
    if (StateOfTmFile(path_) != stamp_) RefuseChangedFile();
    auto tm = std::make_shared<TranslationMemory>(ReadTmxFile(path_, stop));
    if (StateOfTmFile(path_) != stamp_) RefuseChangedFile();
    tm_ = std::move(tm);
    unitsRead_ = true;
    return tm_;
}

TmIndex EngineTM::BuildIndex(const std::wstring& targetLanguage, const StopCheck& stop,
                             const SubstitutionOptions& substitution) {
    OpenTM();
    if (unitsRead_) return TmIndex(*tm_, targetLanguage, 0, stop, substitution);
    if (StateOfTmFile(path_) != stamp_) RefuseChangedFile();
    TmIndexBuilder builder(targetLanguage, 0, stop, substitution);
    ReadTmxFileInBlocks(
        path_, TmIndexBuilder::kUnitsPerBlock,
        [&](std::span<const TranslationUnit> block) { builder.Add(block); }, stop);
    // What was read must be the TM that was opened: its units' positions are the ones a
    // later reading of the units (the project TM) finds.
    if (StateOfTmFile(path_) != stamp_) RefuseChangedFile();
    return builder.Finish();
}

void EngineTM::Adopt(std::shared_ptr<const TranslationMemory> tm, const std::wstring& path,
                     std::optional<TmFileState> stamp, TmFileLock lock, bool unitsRead) {
    tm_ = std::move(tm);
    unitsRead_ = unitsRead;
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
    OpenTM();
    // Held: reading the units for a task (the project TM) makes another object the open TM.
    const std::shared_ptr<const TranslationMemory> held = tm_;
    const TranslationMemory& tm = *held;
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
            index = application_.IndexFor(target, job.useTMFromPreviousAnalysis, reused,
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
    if (job.projectTM) CreateProjectTM(run, *Units(), *job.projectTM);
    if (!logFile.empty()) WriteAnalysisLogs(run.report, logFile);
}

}  // namespace orv::engine
