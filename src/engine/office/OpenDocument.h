#pragma once
// The text of an OpenDocument text, spreadsheet or presentation, packed (.odt, .ods, .odp and
// their templates) or flat XML (.fodt, .fods, .fodp).

#include <string_view>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throw an engine error, with the reason in words, when the file cannot be read as one.
DocumentText ReadOpenDocumentBytes(std::string_view bytes, const DocumentSettings& settings);
DocumentText ReadFlatOpenDocumentBytes(std::string_view bytes, const DocumentSettings& settings);

}  // namespace orv::engine
