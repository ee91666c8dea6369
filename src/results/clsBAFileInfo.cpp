#include "results/clsBAFileInfo.h"

namespace orv {

void clsBAFileInfo::put_FileProcessed(bool vData) {
    fileProcessed_ = vData;
    if (!vData) ClearStatistics();
}

void clsBAFileInfo::put_ProcessingError(bool vData) {
    processingError_ = vData;
    if (vData) ClearStatistics();
}

void clsBAFileInfo::put_FilePath(const std::wstring& vData) {
    filePath_ = vData;
    put_ProcessingError(false);
    ClearStatistics();
}

void clsBAFileInfo::ClearStatistics() {
    fileProcessed_ = false;
    counts_.fill(0);
    charsPerWord_ = 0.0;
}

}  // namespace orv
