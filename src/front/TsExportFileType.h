#pragma once
// Export formats a client may choose for the two export tasks. The properties of this type
// accept any 32-bit value; it reaches the job file unchanged, as its number.

#include <cstdint>

namespace orv {

enum TsExportFileType : int32_t {
    TsExportFileTypeTes2x = 1,
    TsExportFileTypeTMX = 2,
    TsExportFileTypeSystran = 3,
    TsExportFileTypeLogos = 4,
    TsExportFileTypeWord = 5,
    TsExportFileTypeTes1x = 6,
    TsExportFileTypeTesDOS = 7,
};

}  // namespace orv
