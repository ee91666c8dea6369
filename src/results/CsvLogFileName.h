#pragma once
// Where the analysis writes its CSV log file: beside the log file, under the same name with
// the extension ".csv".

#include <string>

#include "platform/PathSyntax.h"

namespace orv {

// `logFileName` with the extension of its last component replaced by ".csv", or with ".csv"
// appended when that component has none; the folder part is never changed ("C:\Logs.log\run"
// gives "C:\Logs.log\run.csv"). An empty name gives an empty name.
std::wstring CsvLogFileNameFor(const std::wstring& logFileName,
                               PathStyle style = NativePathStyle());

}  // namespace orv
