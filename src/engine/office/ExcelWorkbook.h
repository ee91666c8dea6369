#pragma once
// The text of an Excel workbook (Office Open XML: .xlsx, .xlsm, .xltx, .xltm).

#include <string_view>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throws an engine error, with the reason in words, when the file cannot be read as one.
DocumentText ReadExcelBytes(std::string_view bytes);

}  // namespace orv::engine
