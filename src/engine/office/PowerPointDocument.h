#pragma once
// The text of a PowerPoint presentation (Office Open XML: .pptx, .pptm, .ppsx, .ppsm, .potx,
// .potm): first the slides in the order they are shown, then the speaker notes of the same
// slides in the same order. A hidden slide is left out with its notes; slide masters, layouts
// and the masters of handouts and notes are not read, for their text is prompts and
// placeholders that no audience sees. Comments and macros are not read either.

#include <string_view>

#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throws an engine error, with the reason in words, when the file cannot be read as one.
DocumentText ReadPowerPointBytes(std::string_view bytes);

}  // namespace orv::engine
