#pragma once
// The job file the component writes for the engine to execute: the settings files, whether
// the previous analysis's TM is used, where the log goes, the documents to analyse and the
// optional export and project-TM tasks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::engine {

struct ExportUnknownTask {
    int32_t maxMatch = 0;
    std::wstring file;
    int32_t fileType = 0;

    friend bool operator==(const ExportUnknownTask&, const ExportUnknownTask&) = default;
};

struct ExportFrequentTask {
    int32_t occurrences = 0;
    std::wstring file;
    int32_t fileType = 0;

    friend bool operator==(const ExportFrequentTask&, const ExportFrequentTask&) = default;
};

struct ProjectTMTask {
    std::wstring file;

    friend bool operator==(const ProjectTMTask&, const ProjectTMTask&) = default;
};

// Paths are as written, without their enclosing quotes; a line that is there with an empty
// path gives an empty text, a line that is not there gives none.
struct JobDescription {
    std::optional<std::wstring> sgmlSettingsFile;
    std::optional<std::wstring> htmlSettingsFile;
    bool useTMFromPreviousAnalysis = false;
    std::optional<std::wstring> logFile;
    std::vector<std::wstring> documents;
    std::optional<ExportUnknownTask> exportUnknown;
    std::optional<ExportFrequentTask> exportFrequent;
    std::optional<ProjectTMTask> projectTM;

    friend bool operator==(const JobDescription&, const JobDescription&) = default;
};

// Reads the job file at `path` (in the system's narrow encoding, CR LF or LF line ends).
// Throws an engine error naming the file and the fault when it cannot be read, lacks the
// [Analyse] or [Task1] section, has task or file counts that disagree with its sections and
// lines, an unknown task, a task without one of its keys, or a number that is not a 32-bit
// whole number. Whatever else the file holds (other sections, keys, blank lines) is ignored.
JobDescription ReadJobFile(const std::wstring& path);

// The same for the bytes of a job file; `name` stands for the file in messages.
JobDescription ParseJobFile(std::string_view bytes, const std::wstring& name);

}  // namespace orv::engine
