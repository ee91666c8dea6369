#pragma once
// Owns one job file from its creation to its deletion: builds the instruction text for the
// batch, writes it under a unique temporary name, reports the path, deletes it afterwards.

#include <cstdint>
#include <memory>
#include <string>

#include "jobfile/JobFileProperties.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/StoredProperty.h"

namespace orv {

class Files;

class clsJobFile {
public:
    // Services left empty are taken from the defaults on first use.
    explicit clsJobFile(std::shared_ptr<Platform> platform = nullptr,
                        std::shared_ptr<FileSystem> fileSystem = nullptr);

    // The settings, each stored unchanged (JobFileProperties.h).
    ORV_JOB_FILE_PROPERTIES(ORV_STORED_PROPERTY)

public:
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
    // Raises 40010 when a path to be written holds a line break or a character the job
    // file's narrow encoding cannot represent, before anything is made.
    void RefuseUnwritablePaths(const Files& collection) const;
    // Writes the text to the job file in the narrow encoding; false when opening, writing or
    // closing fails.
    bool WriteJobFile(const std::wstring& text);
    // Deletes what was made of the job file and raises 40010.
    [[noreturn]] void AbandonJobFile();

    Platform& platform();
    FileSystem& fileSystem();

    std::shared_ptr<Platform> platform_;
    std::shared_ptr<FileSystem> fileSystem_;

    std::wstring jobFileName_;
};

}  // namespace orv
