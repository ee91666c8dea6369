#pragma once
// Helpers of the tests that execute job files on the engine's TM directly: the job text the
// component writes, built from documents, a log and the optional tasks, and a TM opened on a
// copy of the golden memory.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppTesting.h"
#include "engine/app/EngineApplication.h"

namespace orv::engine::test {

inline std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// The job the component writes for `documents`, with its log at `log` (no LogFile line when
// empty) and, after the analysis task, one task for each text of `tasks` (the task's lines
// after its header).
inline std::string JobText(const std::vector<fs::path>& documents, const fs::path& log,
                           const std::vector<std::string>& tasks = {}) {
    std::string text = "[Analyse]\r\nUseTMFromPreviousAnalysis = 0\r\n";
    if (!log.empty()) text += "LogFile = " + Quoted(log) + "\r\n";
    text += "Tasks = " + std::to_string(1 + tasks.size()) + "\r\n";
    text +=
        "\r\n\r\n[Task1]\r\nTask = Analyse\r\nFiles = " + std::to_string(documents.size()) + "\r\n";
    for (std::size_t i = 0; i < documents.size(); ++i)
        text += "File" + std::to_string(i + 1) + " = " + Quoted(documents[i]) + "\r\n";
    for (std::size_t t = 0; t < tasks.size(); ++t)
        text += "\r\n\r\n[Task" + std::to_string(t + 2) + "]\r\n" + tasks[t];
    return text;
}

inline std::string ExportUnknownLines(int32_t maxMatch, const fs::path& file, int32_t fileType) {
    return "Task = ExportUnknown\r\nMaxMatch = " + std::to_string(maxMatch) +
           "\r\nFile = " + Quoted(file) + "\r\nFileType = " + std::to_string(fileType) + "\r\n";
}

inline std::string ExportFrequentLines(int32_t occurrences, const fs::path& file,
                                       int32_t fileType) {
    return "Task = ExportFrequent\r\nOccurrences = " + std::to_string(occurrences) +
           "\r\nFile = " + Quoted(file) + "\r\nFileType = " + std::to_string(fileType) + "\r\n";
}

inline std::string ProjectTmLines(const fs::path& file) {
    return "Task = CreateProjectTM\r\nFile = " + Quoted(file) + "\r\n";
}

// The golden memory, opened for German.
class GoldenTmJob : public ::testing::Test {
protected:
    GoldenTmJob() {
        CopyGolden(folder);
        tm->Open(folder.wpath("memory.tmx"), L"anna", L"", L"w");
        tm->put_TargetLanguage(1031);
    }

    fs::path In(const std::string& name) const { return folder.path() / name; }

    void Execute(const std::string& job) {
        folder.Write("job.tmp", job);
        tm->ExecuteJobFile(folder.wpath("job.tmp"));
    }

    TempFolder folder;
    EngineApplication app;
    std::shared_ptr<TessappTM> tm = app.get_CurrentTM();
};

}  // namespace orv::engine::test
