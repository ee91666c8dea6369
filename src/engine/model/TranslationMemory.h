#pragma once
// A translation memory in memory: its languages and its translation units, each a segment
// in the source language and its translations into one or more target languages.

#include <string>
#include <vector>

#include "engine/model/Segment.h"

namespace orv::engine {

struct Variant {
    std::wstring language;  // BCP 47 tag as written in the TM ("de-DE")
    Segment segment;
};

struct TranslationUnit {
    Segment source;
    std::vector<Variant> targets;
};

struct TranslationMemory {
    std::wstring sourceLanguage;  // BCP 47 tag
    // Every target language that occurs in the TM or that it was created with, in order of
    // first appearance.
    std::vector<std::wstring> targetLanguages;
    std::vector<TranslationUnit> units;
};

}  // namespace orv::engine
