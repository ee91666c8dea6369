#pragma once
// The class a client creates to run a batch analysis: every parameter of an analysis as a
// property, the collection of document records, two labels for the client's own use and the
// CSV result texts of the last analysis. Properties store what they are given; checks
// happen when an analysis runs.

#include <cstdint>
#include <memory>
#include <string>

#include "front/TsExportFileType.h"
#include "results/Files.h"

namespace orv {

class BatchAnalyse {
public:
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
    std::shared_ptr<Files> files_;

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
};

}  // namespace orv
