#pragma once
// The little of a job file that the Tessera double acts on: the analysis log's path (key
// LogFile of [Analyse]) and the documents of the analysis task (File1..FileN of [Task1]).
// Quoted values lose their quotes; everything else in the file is left to the real
// application.

#include <string>
#include <vector>

namespace orv::testdoubles {

struct JobFileContent {
    std::wstring logFile;                 // empty when the job names none
    std::vector<std::wstring> documents;  // File1, File2, ... up to the first gap
};

JobFileContent ReadJobFileContent(const std::wstring& text);

}  // namespace orv::testdoubles
