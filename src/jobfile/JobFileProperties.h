#pragma once
// The settings a job file is made from, in the order the analysis copies them from
// BatchAnalyse into the job-file writer. One list gives both classes their accessors and
// the copy between them, and the automation layer its wrappers, so that a setting cannot
// be forgotten in one of them.

#include <cstdint>
#include <string>

#include "front/TsExportFileType.h"

// X(type, name)
// clang-format off
#define ORV_JOB_FILE_PROPERTIES(X)                \
    X(std::wstring, HTMLSettingsFileName)         \
    X(std::wstring, SGMLSettingsFileName)         \
    X(bool, UseTMFromPreviousAnalysis)            \
    X(std::wstring, LogFileName)                  \
    X(std::wstring, ExportUnknownFileName)        \
    X(int32_t, ExportUnknownMaxMatch)             \
    X(orv::TsExportFileType, ExportUnknownFileType) \
    X(std::wstring, ExportFrequentFileName)       \
    X(int32_t, ExportFrequentOccurrences)         \
    X(orv::TsExportFileType, ExportFrequentFileType) \
    X(std::wstring, CreateProjectTMFileName)
// clang-format on
