#pragma once
// Writes a translation memory as a TMX 1.4b file in UTF-8: the engine's own TMs (an empty one
// made for a language pair, the project TM of a job) and anything ReadTmxFile gives back
// unchanged.

#include <string>
#include <string_view>

#include "engine/model/TranslationMemory.h"

namespace orv::engine {

// Writes `tm` to `path`, replacing the file there. The text goes to a temporary file in the
// same folder, which takes the place of `path` only once it is complete, so a failure never
// leaves half a TM behind and keeps an earlier file as it was. Inline codes become bpt, ept,
// it and ph elements. Throws an engine error naming the file and the fault.
void WriteTmxFile(const TranslationMemory& tm, const std::wstring& path);

// Replaces the file at `path` with `text` in the same way.
void WriteTmxTextFile(std::string_view text, const std::wstring& path);

// The TMX text (UTF-8) that WriteTmxFile writes.
std::string TmxText(const TranslationMemory& tm);

}  // namespace orv::engine
