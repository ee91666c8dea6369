#pragma once
// The class a client creates to run a batch analysis: every parameter of an analysis as a
// property, the collection of document records, two labels for the client's own use and the
// CSV result texts of the last analysis. Properties store what they are given; checks
// happen when an analysis runs.

#include <cstdint>
#include <memory>
#include <string>

#include "front/TsExportFileType.h"
#include "platform/AutomationError.h"
#include "results/Files.h"
#include "tessera/EventSource.h"
#include "tessera/ServiceSet.h"
#include "tessera/clsBATessera.h"
#include "tessera/clsBATesseraSettings.h"

namespace orv {

class clsJobFile;
class clsLogFileParser;

class BatchAnalyse {
public:
    // Services left empty are the running system's.
    explicit BatchAnalyse(ServiceSet services = {});
    ~BatchAnalyse();
    BatchAnalyse(const BatchAnalyse&) = delete;
    BatchAnalyse& operator=(const BatchAnalyse&) = delete;

    // Runs the whole batch: validation, Tessera, the TM, the job file, the options, the job
    // run and the parse of its log. Returns true, or raises the first failing step's error
    // unchanged after the clean-up (TM closed, temporary TM and job file deleted, Tessera
    // closed when this call started it).
    bool Analyse();

    // The option set, created on first read; used by Analyse only when WasInitialised.
    std::shared_ptr<clsBATesseraSettings> get_BATesserasettings();
    void putref_BATesserasettings(std::shared_ptr<clsBATesseraSettings> vData) {
        settings_ = std::move(vData);
    }

    // The session with Tessera. A first read creates it and copies the properties into it;
    // a put holds the given session (releasing, not closing, the previous one).
    std::shared_ptr<clsBATessera> get_BATessera();
    void putref_BATessera(std::shared_ptr<clsBATessera> vData);

    // True when this call created the session; Tessera's own failure (40001) passes on.
    bool StartTessera();
    // Closes Tessera through the held session, if any, and lets the session go. Always true.
    bool CloseTessera();

    // The session's cancel event, relayed unchanged on the same thread.
    EventSource<int32_t> OnBatchAnalysisCancelledByUser;

    // The collection is created on first read; every read gives the same object. Putting
    // none makes the next read create a new, empty one.
    std::shared_ptr<Files> get_Files();
    void putref_Files(std::shared_ptr<Files> vData) { files_ = std::move(vData); }

    bool get_LoadWordObject() const { return loadWordObject_; }
    void put_LoadWordObject(bool vData) { loadWordObject_ = vData; }
    bool get_CreateEmptyTM() const { return createEmptyTM_; }
    void put_CreateEmptyTM(bool vData) { createEmptyTM_ = vData; }
    const std::wstring& get_CreateProjectTMFileName() const { return createProjectTMFileName_; }
    void put_CreateProjectTMFileName(const std::wstring& vData) {
        createProjectTMFileName_ = vData;
    }
    TsExportFileType get_ExportFrequentFileType() const { return exportFrequentFileType_; }
    void put_ExportFrequentFileType(TsExportFileType vData) { exportFrequentFileType_ = vData; }
    int32_t get_ExportFrequentOccurrences() const { return exportFrequentOccurrences_; }
    void put_ExportFrequentOccurrences(int32_t vData) { exportFrequentOccurrences_ = vData; }
    const std::wstring& get_ExportFrequentFileName() const { return exportFrequentFileName_; }
    void put_ExportFrequentFileName(const std::wstring& vData) { exportFrequentFileName_ = vData; }
    TsExportFileType get_ExportUnknownFileType() const { return exportUnknownFileType_; }
    void put_ExportUnknownFileType(TsExportFileType vData) { exportUnknownFileType_ = vData; }
    int32_t get_ExportUnknownMaxMatch() const { return exportUnknownMaxMatch_; }
    void put_ExportUnknownMaxMatch(int32_t vData) { exportUnknownMaxMatch_ = vData; }
    const std::wstring& get_ExportUnknownFileName() const { return exportUnknownFileName_; }
    void put_ExportUnknownFileName(const std::wstring& vData) { exportUnknownFileName_ = vData; }
    const std::wstring& get_LogFileName() const { return logFileName_; }
    void put_LogFileName(const std::wstring& vData) { logFileName_ = vData; }
    bool get_UseTMFromPreviousAnalysis() const { return useTMFromPreviousAnalysis_; }
    void put_UseTMFromPreviousAnalysis(bool vData) { useTMFromPreviousAnalysis_ = vData; }
    int32_t get_TranslationMemorySourceLanguageId() const { return sourceLanguageId_; }
    void put_TranslationMemorySourceLanguageId(int32_t vData) { sourceLanguageId_ = vData; }
    int32_t get_TranslationMemoryTargetLanguageId() const { return targetLanguageId_; }
    void put_TranslationMemoryTargetLanguageId(int32_t vData) { targetLanguageId_ = vData; }
    const std::wstring& get_TranslationMemoryPassword() const { return password_; }
    void put_TranslationMemoryPassword(const std::wstring& vData) { password_ = vData; }
    const std::wstring& get_TranslationMemoryUserName() const { return userName_; }
    void put_TranslationMemoryUserName(const std::wstring& vData) { userName_ = vData; }
    const std::wstring& get_TranslationMemory() const { return translationMemory_; }
    void put_TranslationMemory(const std::wstring& vData) { translationMemory_ = vData; }
    const std::wstring& get_SGMLSettingsFileName() const { return sgmlSettingsFileName_; }
    void put_SGMLSettingsFileName(const std::wstring& vData) { sgmlSettingsFileName_ = vData; }
    const std::wstring& get_HTMLSettingsFileName() const { return htmlSettingsFileName_; }
    void put_HTMLSettingsFileName(const std::wstring& vData) { htmlSettingsFileName_ = vData; }

    // The raw analysis log is not offered: always "not implemented".
    std::wstring GetLogFileContent() const { return L"not implemented"; }
    // The CSV texts of the last analysis that got as far as reading its log; empty before.
    const std::wstring& GetCsvLogFileContentWithoutHeader() const { return csvWithoutHeader_; }
    const std::wstring& GetCsvLogFileContent() const { return csv_; }

    // Labels for the client's own use; nothing in the component reads them.
    const std::wstring& get_Name() const { return name_; }
    void put_Name(const std::wstring& vData) { name_ = vData; }
    const std::wstring& get_Key() const { return key_; }
    void put_Key(const std::wstring& vData) { key_ = vData; }

private:
    bool ValidateProperties();
    std::unique_ptr<clsJobFile> CreateJobFileWriter();
    std::unique_ptr<clsLogFileParser> CreateLogFileParser();
    std::shared_ptr<clsBATessera> CreateTesseraSession();
    void HoldSession(std::shared_ptr<clsBATessera> session);
    void PassPropertiesToTessera();

    ServiceSet services_;
    std::shared_ptr<Files> files_;
    std::shared_ptr<clsBATesseraSettings> settings_;
    std::shared_ptr<clsBATessera> mobjBATessera_;

    std::wstring translationMemory_;
    std::wstring userName_;
    std::wstring password_;
    int32_t sourceLanguageId_ = 0;
    int32_t targetLanguageId_ = 0;
    std::wstring htmlSettingsFileName_;
    std::wstring sgmlSettingsFileName_;
    bool useTMFromPreviousAnalysis_ = false;
    std::wstring logFileName_;
    std::wstring exportUnknownFileName_;
    int32_t exportUnknownMaxMatch_ = 85;
    TsExportFileType exportUnknownFileType_ = TsExportFileTypeTes2x;
    std::wstring exportFrequentFileName_;
    int32_t exportFrequentOccurrences_ = 5;
    TsExportFileType exportFrequentFileType_ = TsExportFileTypeTes2x;
    std::wstring createProjectTMFileName_;
    bool createEmptyTM_ = false;
    bool loadWordObject_ = false;

    std::wstring name_;
    std::wstring key_;
    std::wstring csv_;
    std::wstring csvWithoutHeader_;

    // Ends when the session is let go (or this object dies), so a session that a client
    // still holds never calls into a destroyed object.
    Subscription sessionEvents_;
};

}  // namespace orv
