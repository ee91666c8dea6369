#include "results/CsvLogFileName.h"

namespace orv {

std::wstring CsvLogFileNameFor(const std::wstring& logFileName, PathStyle style) {
    return WithExtension(logFileName, L".csv", style);
}

}  // namespace orv
