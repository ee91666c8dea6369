#include "front/BatchAnalyse.h"

#include <exception>

#include "front/modErrors.h"
#include "jobfile/clsJobFile.h"
#include "platform/AutomationError.h"
#include "results/clsLogFileParser.h"
#include "tessera/modToolsTessera.h"

namespace orv {

namespace {

// Runs a clean-up step with every error suppressed, so that the steps after it still run
// and the analysis's own error reaches the caller.
template <typename Step>
void Suppressed(Step step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

BatchAnalyse::BatchAnalyse(ServiceSet services) : services_(std::move(services)) {
    ExportUnknownMaxMatch_ = 85;
    ExportUnknownFileType_ = TsExportFileTypeTes2x;
    ExportFrequentOccurrences_ = 5;
    ExportFrequentFileType_ = TsExportFileTypeTes2x;
}

BatchAnalyse::~BatchAnalyse() = default;

std::shared_ptr<Files> BatchAnalyse::get_Files() {
    if (!files_) files_ = std::make_shared<Files>();
    return files_;
}

std::shared_ptr<clsBATesseraSettings> BatchAnalyse::get_BATesserasettings() {
    if (!settings_) settings_ = std::make_shared<clsBATesseraSettings>();
    return settings_;
}

std::shared_ptr<clsBATessera> BatchAnalyse::CreateTesseraSession() {
    return std::make_shared<clsBATessera>(services_);
}

void BatchAnalyse::HoldSession(std::shared_ptr<clsBATessera> session) {
    sessionEvents_.reset();
    mobjBATessera_ = std::move(session);
    if (mobjBATessera_) {
        sessionEvents_ =
            mobjBATessera_->OnBatchCancelledByUser.Subscribe([this](int32_t processedFiles) {
                OnBatchAnalysisCancelledByUser.Raise(processedFiles);
            });
    }
}

std::shared_ptr<clsBATessera> BatchAnalyse::get_BATessera() {
    if (!mobjBATessera_) {
        HoldSession(CreateTesseraSession());
        PassPropertiesToTessera();
    }
    return mobjBATessera_;
}

void BatchAnalyse::putref_BATessera(std::shared_ptr<clsBATessera> vData) {
    HoldSession(std::move(vData));
    if (mobjBATessera_) PassPropertiesToTessera();
}

void BatchAnalyse::PassPropertiesToTessera() {
    auto& session = *mobjBATessera_;
#define ORV_COPY_TO_SESSION(type, name) session.put_##name(name##_);
    ORV_SESSION_PROPERTIES(ORV_COPY_TO_SESSION)
#undef ORV_COPY_TO_SESSION
    session.StartWord();
}

bool BatchAnalyse::StartTessera() {
    if (mobjBATessera_) {
        mobjBATessera_->StartTessera();
        return false;
    }
    HoldSession(CreateTesseraSession());
    mobjBATessera_->StartTessera();
    return true;
}

bool BatchAnalyse::CloseTessera() {
    if (mobjBATessera_) {
        mobjBATessera_->CloseTessera();
        HoldSession(nullptr);
    }
    return true;
}

bool BatchAnalyse::ValidateProperties() {
    if (CreateEmptyTM_) {
        if (TranslationMemorySourceLanguageId_ == 0)
            modErrors::RaiseError(ovOrvBatchAnalyseErrorNoSourceLanguageSpecified);
        if (TranslationMemoryTargetLanguageId_ == 0)
            modErrors::RaiseError(ovOrvBatchAnalyseErrorNoTargetLanguageSpecified);
        return true;
    }
    if (TranslationMemory_.empty()) modErrors::RaiseError(ovOrvBatchAnalyseErrorNoTmSpecified);
    if (!services_.fileSystem()->FileExists(TranslationMemory_))
        modErrors::RaiseError(ovOrvBatchAnalyseErrorTmDoesntExist);
    if (TranslationMemoryUserName_.empty())
        modErrors::RaiseError(ovOrvBatchAnalyseErrorNoUserNameSpecified);
    if (TranslationMemoryTargetLanguageId_ == 0)
        modErrors::RaiseError(ovOrvBatchAnalyseErrorNoTargetLanguageSpecified);
    return true;
}

std::unique_ptr<clsJobFile> BatchAnalyse::CreateJobFileWriter() {
    auto writer = std::make_unique<clsJobFile>(services_.platform(), services_.fileSystem());
#define ORV_COPY_TO_JOB_FILE(type, name) writer->put_##name(name##_);
    ORV_JOB_FILE_PROPERTIES(ORV_COPY_TO_JOB_FILE)
#undef ORV_COPY_TO_JOB_FILE
    return writer;
}

std::unique_ptr<clsLogFileParser> BatchAnalyse::CreateLogFileParser() {
    auto parser = std::make_unique<clsLogFileParser>(services_.platform(), services_.fileSystem());
    parser->put_LogFileName(LogFileName_);
    return parser;
}

bool BatchAnalyse::Analyse() {
    bool result = false;
    bool startedHere = false;
    bool temporaryTM = false;
    std::unique_ptr<clsJobFile> writer;
    std::exception_ptr failure;
    // The run keeps its session: a client call that arrives during a wait or an event may
    // let go of the held one (CloseTessera, a put of BATessera), and what this run opened
    // and made is still cleaned up.
    std::shared_ptr<clsBATessera> session;

    try {
        ValidateProperties();
        startedHere = StartTessera();
        session = mobjBATessera_;
        PassPropertiesToTessera();
        // Only a wait until Tessera is registered as running; what it finds is not needed.
        modTools::GetTesseraApplication(*services_.objects(), *services_.platform());
        modTools::ActivateTesseraWindow(*services_.platform());
        if (CreateEmptyTM_) {
            temporaryTM = session->CreateTemporaryTM();
        } else {
            session->OpenTM();
        }
        session->SetUpLanguages();

        writer = CreateJobFileWriter();
        // No collection was ever read: there is no batch to list.
        if (!files_) RaiseRuntimeError(kErrObjectNotSet);
        // The records the job lists are the ones its log fills, whatever a client puts.
        const std::shared_ptr<Files> files = files_;
        writer->CreateJobFile(*files);
        const std::wstring jobFile = writer->GetJobFileName();

        if (settings_ && settings_->get_WasInitialised()) {
            settings_->put_OptionsToolsHtmlSettingsFile(HTMLSettingsFileName_);
            settings_->put_OptionsToolsSgmlSettingsFile(SGMLSettingsFileName_);
            session->putref_BATesserasettings(settings_);
        }
        session->RunJob(jobFile);

        auto parser = CreateLogFileParser();
        parser->ParseLogFile(*files);
        csv_ = parser->GetCsvLogFileContent();
        csvWithoutHeader_ = parser->GetCsvLogFileContentWithoutHeader();
        result = true;
    } catch (...) {
        // Kept as it is, to reach the caller unchanged after the clean-up.
        failure = std::current_exception();
    }

    // The clean-up always runs; a step that fails, in whatever way, is skipped and the next
    // one runs. A failed check leaves no run session: the TM of one held before is closed.
    if (!session) session = mobjBATessera_;
    if (session) {
        Suppressed([&] { session->CloseTM(); });
        if (temporaryTM) Suppressed([&] { session->DeleteTemporaryTM(); });
    }
    if (startedHere) {
        // Quits the Tessera this call started, and ends the session unless a client has
        // put another one in its place meanwhile.
        Suppressed([&] { session->CloseTessera(); });
        if (mobjBATessera_ == session) HoldSession(nullptr);
    }
    if (writer) Suppressed([&] { writer->DeleteJobFile(); });

    if (failure) std::rethrow_exception(failure);
    return result;
}

}  // namespace orv
