#include "tessera/clsBATessera.h"

#include "front/modErrors.h"
#include "jobfile/modTools.h"
#include "platform/AutomationError.h"
#include "platform/PathSyntax.h"
#include "tessera/modToolsTessera.h"

namespace orv {
namespace {

// Language ids Tessera is asked for when it refuses the caller's pair for an empty TM:
// English (United States) to English (United Kingdom).
constexpr int32_t kFallbackSourceLanguage = 1033;
constexpr int32_t kFallbackTargetLanguage = 2057;

bool IsWrongPasswordDescription(const std::wstring& description) {
    return description.find(L"50000") != std::wstring::npos ||
           description.find(L"50003") != std::wstring::npos;
}

// The application's current TM; a missing application or TM is the usual "object not set".
std::shared_ptr<TessappTM> CurrentTMOf(const std::shared_ptr<TessappApplication>& application) {
    if (!application) RaiseRuntimeError(kErrObjectNotSet);
    auto tm = application->get_CurrentTM();
    if (!tm) RaiseRuntimeError(kErrObjectNotSet);
    return tm;
}

}  // namespace

clsBATessera::clsBATessera(ServiceSet services) : services_(std::move(services)) {}

void clsBATessera::SetApplication(std::shared_ptr<TessappApplication> application) {
    applicationEvents_.reset();
    mobjTxApplication_ = std::move(application);
    if (mobjTxApplication_) {
        applicationEvents_ = mobjTxApplication_->OnBatchCancelledByUser.Subscribe(
            [this](int32_t processedFiles) { OnBatchCancelledByUser.Raise(processedFiles); });
    }
}

bool clsBATessera::StartTessera() {
    if (mobjTxApplication_) return false;
    try {
        SetApplication(services_.objects()->CreateTessera());
    } catch (...) {
        // Any failure to create the application is reported as 40001 below.
    }
    if (!mobjTxApplication_) modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToOpenTes);
    StartWord();
    return true;
}

bool clsBATessera::CloseTessera() {
    CloseTM();
    if (!mobjTxApplication_) return false;
    try {
        mobjTxApplication_->Quit();
    } catch (...) {
        // An application that fails to quit is let go all the same.
    }
    SetApplication(nullptr);
    QuitWord();
    return true;
}

void clsBATessera::StartWord() {
    if (!LoadWordObject_ || word_) return;
    auto& objects = *services_.objects();
    std::shared_ptr<LateBoundObject> running;
    try {
        running = objects.LookUpWord();
    } catch (...) {
        // No running Word: start one below.
    }
    // A Word the user already runs is neither held nor quit later.
    if (running) return;
    try {
        word_ = objects.CreateWord();
    } catch (...) {
        // Word may still be starting up: wait for it below.
    }
    if (!word_) word_ = modTools::GetWordApplication(objects, *services_.platform());
}

void clsBATessera::QuitWord() {
    if (!LoadWordObject_ || !word_) return;
    try {
        word_->CallMethod(L"Quit");
    } catch (...) {
        // Word is let go whether or not it quit.
    }
    word_.reset();
}

bool clsBATessera::CloseTM() {
    try {
        if (mobjTxApplication_) {
            auto tm = mobjTxApplication_->get_CurrentTM();
            if (tm && tm->get_IsOpen()) tm->Close();
        }
    } catch (...) {
        // A TM that cannot be closed stays open; the clean-up goes on.
    }
    return true;
}

bool clsBATessera::TryCreateTM(int32_t sourceLanguage, int32_t targetLanguage) {
    try {
        if (!mobjTxApplication_) return false;
        mobjTxApplication_->CreateTM(TranslationMemory_, L"", sourceLanguage, L"", targetLanguage,
                                     L"", -1, -1, -1, -1, -1, -1, -1, L"", L"", L"");
        auto tm = mobjTxApplication_->get_CurrentTM();
        return tm && tm->get_IsOpen();
    } catch (const AutomationError&) {
        return false;
    }
}

bool clsBATessera::CreateTemporaryTM() {
    TranslationMemory_ =
        modTools::GetUniqueTempFileName(*services_.platform(), *services_.fileSystem());
    // Without a temporary name there is nothing to create, and nothing of ours to delete.
    if (TranslationMemory_.empty())
        modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToCreateEmptyTM);
    if (TryCreateTM(TranslationMemorySourceLanguageId_, TranslationMemoryTargetLanguageId_))
        return true;

    DeleteTemporaryTM();
    if (!TryCreateTM(kFallbackSourceLanguage, kFallbackTargetLanguage)) {
        DeleteTemporaryTM();
        modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToCreateEmptyTM);
    }
    TranslationMemorySourceLanguageId_ = kFallbackSourceLanguage;
    TranslationMemoryTargetLanguageId_ = kFallbackTargetLanguage;
    return true;
}

bool clsBATessera::DeleteTemporaryTM() {
    try {
        auto& fileSystem = *services_.fileSystem();
        const std::wstring baseName = fileSystem.GetBaseName(TranslationMemory_);
        // With no base name (no TM, a name ending in a separator, a dot-file) the pattern
        // below would match every dot-file of a folder.
        if (TranslationMemory_.empty() || baseName.empty()) return true;
        const auto separator = LastSeparator(TranslationMemory_);
        const std::wstring folder =
            separator == std::wstring::npos ? L"" : TranslationMemory_.substr(0, separator + 1);
        const std::wstring stem = folder + baseName;
        if (fileSystem.FileExists(TranslationMemory_) || fileSystem.FileExists(stem + L".tmv"))
            fileSystem.DeleteFile(stem + L".*", true);
    } catch (...) {
        // Files that cannot be deleted stay; the clean-up goes on.
    }
    return true;
}

bool clsBATessera::OpenTM() {
    try {
        CurrentTMOf(mobjTxApplication_)
            ->Open(TranslationMemory_, TranslationMemoryUserName_, TranslationMemoryPassword_,
                   L"w");
    } catch (const AutomationError& e) {
        modErrors::RaiseError(IsWrongPasswordDescription(e.description())
                                  ? ovOrvBatchAnalyseErrorUnableToOpenTMWrongPassword
                                  : ovOrvBatchAnalyseErrorUnableToOpenTM);
    }
    if (!mobjTxApplication_->get_CurrentTM())
        modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToOpenTM);
    return true;
}

bool clsBATessera::SetUpLanguages() {
    bool setUp = false;
    bool failed = false;  // any failure so far in this call
    std::size_t count = 0;
    try {
        count = CurrentTMOf(mobjTxApplication_)->get_TargetLanguages().size();
    } catch (const AutomationError&) {
        failed = true;
    }
    if (count == 2 && TranslationMemoryTargetLanguageId_ == 0) {
        setUp = true;
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            try {
                auto tm = CurrentTMOf(mobjTxApplication_);
                const auto languages = tm->get_TargetLanguages();
                if (i < languages.size() && languages[i] == TranslationMemoryTargetLanguageId_) {
                    tm->put_TargetLanguage(languages[i]);
                    if (!failed) setUp = true;
                }
            } catch (const AutomationError&) {
                failed = true;
            }
        }
    }
    if (!setUp) modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToSetUpTargetLanguage);

    if (TranslationMemorySourceLanguageId_ != 0) {
        bool matches = false;
        try {
            matches = CurrentTMOf(mobjTxApplication_)->get_SourceLanguage() ==
                      TranslationMemorySourceLanguageId_;
        } catch (const AutomationError&) {
            // A source language that cannot be read cannot be confirmed either.
        }
        if (!matches) modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToSetUpSourceLanguage);
    }
    return true;
}

bool clsBATessera::RunJob(const std::wstring& jobFilePath) {
    // Held for the run: a subscriber of the cancel event may close Tessera while it runs.
    const auto application = mobjTxApplication_;
    if (settings_ && settings_->get_WasInitialised()) {
        if (!application) RaiseRuntimeError(kErrObjectNotSet);
        settings_->ApplyToTessera(*application);
    }
    try {
        CurrentTMOf(application)->ExecuteJobFile(jobFilePath);
    } catch (const AutomationError&) {
        modErrors::RaiseError(ovOrvBatchAnalyseErrorDuringAnalysis);
    }
    return true;
}

}  // namespace orv
