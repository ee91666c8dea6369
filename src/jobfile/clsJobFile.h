#pragma once
// Owns one job file from its creation to its deletion: builds the instruction text for the
// batch, writes it under a unique temporary name, reports the path, deletes it afterwards.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace orv {

class Files;

class clsJobFile {
public:
    // Services left empty are taken from the defaults on first use.
    explicit clsJobFile(std::shared_ptr<Platform> platform = nullptr,
                        std::shared_ptr<FileSystem> fileSystem = nullptr);

    const std::wstring& get_CreateProjectTMFileName() const { return createProjectTMFileName_; }
    void put_CreateProjectTMFileName(const std::wstring& vData) {
        createProjectTMFileName_ = vData;
    }
    int32_t get_ExportFrequentFileType() const { return exportFrequentFileType_; }
    void put_ExportFrequentFileType(int32_t vData) { exportFrequentFileType_ = vData; }
    int32_t get_ExportFrequentOccurrences() const { return exportFrequentOccurrences_; }
    void put_ExportFrequentOccurrences(int32_t vData) { exportFrequentOccurrences_ = vData; }
    const std::wstring& get_ExportFrequentFileName() const { return exportFrequentFileName_; }
    void put_ExportFrequentFileName(const std::wstring& vData) { exportFrequentFileName_ = vData; }
    int32_t get_ExportUnknownFileType() const { return exportUnknownFileType_; }
    void put_ExportUnknownFileType(int32_t vData) { exportUnknownFileType_ = vData; }
    int32_t get_ExportUnknownMaxMatch() const { return exportUnknownMaxMatch_; }
    void put_ExportUnknownMaxMatch(int32_t vData) { exportUnknownMaxMatch_ = vData; }
    const std::wstring& get_ExportUnknownFileName() const { return exportUnknownFileName_; }
    void put_ExportUnknownFileName(const std::wstring& vData) { exportUnknownFileName_ = vData; }
    const std::wstring& get_LogFileName() const { return logFileName_; }
    void put_LogFileName(const std::wstring& vData) { logFileName_ = vData; }
    bool get_UseTMFromPreviousAnalysis() const { return useTMFromPreviousAnalysis_; }
    void put_UseTMFromPreviousAnalysis(bool vData) { useTMFromPreviousAnalysis_ = vData; }
    const std::wstring& get_SGMLSettingsFileName() const { return sgmlSettingsFileName_; }
    void put_SGMLSettingsFileName(const std::wstring& vData) { sgmlSettingsFileName_ = vData; }
    const std::wstring& get_HTMLSettingsFileName() const { return htmlSettingsFileName_; }
    void put_HTMLSettingsFileName(const std::wstring& vData) { htmlSettingsFileName_ = vData; }

    // Writes the job file for the batch and returns true; every failure is raised (40003,
    // 40004, 40010, 40017, or an error of the file-system service), never returned.
    bool CreateJobFile(const Files& BatchAnalyseFileInfoCollection);

    // Deletes the job file when it exists; the path stays set. Returns true.
    bool DeleteJobFile();

    // The path made by the last CreateJobFile, or empty.
    const std::wstring& GetJobFileName() const { return jobFileName_; }

private:
    // The whole job text; runs the path tests in file order and raises on the first failure.
    std::wstring BuildJobFileContent(const Files& collection);
    std::wstring GetSettingsSection();
    std::wstring GetAnalyseSection();
    std::wstring GetUseTMLine() const;
    std::wstring GetLogFileLine();
    static std::wstring GetTaskHeader(int32_t taskNumber);
    static std::wstring GetAnalyseTask(int32_t taskNumber, const Files& collection);
    std::wstring GetExportUnknownTask(int32_t taskNumber);
    std::wstring GetExportFrequentTask(int32_t taskNumber);
    std::wstring GetCreateProjectTMTask(int32_t taskNumber);
    // Raises 40004 naming the folder text when the folder of `path` does not exist.
    void TestFolderOf(const std::wstring& path);
    // Raises 40010 when a path to be written holds a line break, which would end its line
    // early and let the rest pass for lines of its own.
    void RefuseLineBreaks(const Files& collection) const;
    // Writes the text to the job file in the narrow encoding; false when opening, writing or
    // closing fails.
    bool WriteJobFile(const std::wstring& text);
    // Deletes what was made of the job file and raises 40010.
    [[noreturn]] void AbandonJobFile();

    Platform& platform();
    FileSystem& fileSystem();

    std::shared_ptr<Platform> platform_;
    std::shared_ptr<FileSystem> fileSystem_;

    std::wstring htmlSettingsFileName_;
    std::wstring sgmlSettingsFileName_;
    bool useTMFromPreviousAnalysis_ = false;
    std::wstring logFileName_;
    std::wstring exportUnknownFileName_;
    int32_t exportUnknownMaxMatch_ = 0;
    int32_t exportUnknownFileType_ = 0;
    std::wstring exportFrequentFileName_;
    int32_t exportFrequentOccurrences_ = 0;
    int32_t exportFrequentFileType_ = 0;
    std::wstring createProjectTMFileName_;
    std::wstring jobFileName_;
};

}  // namespace orv
