#pragma once
// The text of a Word document (Office Open XML: .docx, .docm, .dotx, .dotm).

#include <string_view>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throws an engine error, with the reason in words, when the file cannot be read as one.
DocumentText ReadWordBytes(std::string_view bytes, const DocumentSettings& settings);

}  // namespace orv::engine
