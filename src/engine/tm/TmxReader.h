#pragma once
// Reads a translation memory from a TMX 1.4b file, levels 1 and 2: plain text and inline
// codes (bpt, ept, it, ph, hi, ut), in UTF-8, UTF-16 or any encoding the file declares.
// Nothing outside the file is ever read: no DTD, no external entity, no network.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/LoadCancelled.h"
#include "engine/model/TranslationMemory.h"

namespace orv::engine {

// The type of the header properties ("prop") that name the target languages a TM was created
// with, so that an empty TM keeps them.
inline constexpr char kTmxTargetLanguageProperty[] = "x-targetlang";

// The TM held in the TMX file at `path`. The variant of each unit in the header's source
// language is its source and the others are its translations; with the source language
// "*all*" (or no header) the first variant is the source and the TM's source language is
// the one most units start with. Units without a variant in the source language are left
// out. Throws an engine error naming the file, the line and the fault when the file cannot
// be read or is not well-formed. `stop` is asked after every unit; once it gives true the
// reading ends with LoadCancelled.
TranslationMemory ReadTmxFile(const std::wstring& path, const StopCheck& stop = {});

// Takes the units of a TM one at a time, as they are read.
using TmxUnitSink = std::function<void(TranslationUnit&&)>;

// Reads the TMX file at `path` as ReadTmxFile does, but hands every unit it would keep to
// `sink`, in the same order, instead of keeping it: a large memory need not be held whole.
// The TM returned has everything but the units. When the header names no source language (or
// "*all*"), which units are kept is known only at the end of the file: they are held until
// then. An error ends the reading as in ReadTmxFile, after the units read before it.
TranslationMemory ReadTmxFileUnits(const std::wstring& path, const TmxUnitSink& sink,
                                   const StopCheck& stop = {});

// What ReadTmxFile makes of the file at `path` but its units: the languages, the users and
// the number of units. The segments' content goes unread, so this costs little more than a
// parse of the file. The errors of ReadTmxFile, but for any a segment's content would raise.
struct TmxOutline {
    TranslationMemory tm;  // without units
    std::size_t units = 0;
};
TmxOutline ReadTmxOutline(const std::wstring& path, const StopCheck& stop = {});

// The same for the bytes of a TMX file in memory; `name` stands for the file in messages.
TranslationMemory ReadTmxBytes(std::string_view bytes, const std::wstring& name);

// What the header of a TMX file says, as ReadTmxFile reads it.
struct TmxHeader {
    std::wstring sourceLanguage;  // as written ("*all*" stays), empty without a header
    // The values of the header's kTmxTargetLanguageProperty properties in order, each
    // language once in its first spelling (the source language is not taken out).
    std::vector<std::wstring> targetLanguages;
    std::vector<TmUser> users;
};

// The header of the TMX file at `path`, read without the body: the reading stops where the
// body starts, so a fault after that point goes unnoticed. Otherwise the errors of
// ReadTmxFile.
TmxHeader ReadTmxHeader(const std::wstring& path);

}  // namespace orv::engine
