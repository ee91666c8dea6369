#pragma once
// The text of an Excel workbook (Office Open XML: .xlsx, .xlsm, .xltx, .xltm). For every sheet
// that is not hidden, in the workbook's order: the sheet's name, then each cell that holds text
// (see WorksheetReader.h). Macros, comments, charts, drawings, headers and footers and defined
// names are not read.

#include <string_view>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throws an engine error, with the reason in words, when the file cannot be read as one.
DocumentText ReadExcelBytes(std::string_view bytes);

}  // namespace orv::engine
