#include "results/CsvLogFileName.h"

namespace orv {

std::wstring CsvLogFileNameFor(const std::wstring& logFileName, PathStyle style) {
    if (logFileName.empty()) return {};
    auto separator = LastSeparator(logFileName, style);
    auto nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    auto dot = logFileName.rfind(L'.');
    std::wstring csv = logFileName;
    if (dot != std::wstring::npos && dot >= nameStart) csv.erase(dot);
    return csv + L".csv";
}

}  // namespace orv
