#pragma once
// The text of a PowerPoint presentation (Office Open XML: .pptx, .pptm, .ppsx, .potx).

#include <string_view>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throws an engine error, with the reason in words, when the file cannot be read as one.
DocumentText ReadPowerPointBytes(std::string_view bytes);

}  // namespace orv::engine
