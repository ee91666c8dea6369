#pragma once
// A translation memory in memory: its languages and its translation units, each a segment
// in the source language and its translations into one or more target languages, and the
// users a protected TM lets in.

#include <cstdint>
#include <optional>
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
    // How often the unit's source occurs, where that is known (an export of frequent
    // segments); the TMX "usagecount".
    std::optional<int64_t> usageCount = std::nullopt;
};

// Someone who may open a protected TM: the name (compared without regard to letter case) and
// the salted Argon2id hash of the password, in the self-describing "$argon2id$..." form.
struct TmUser {
    std::wstring name;
    std::string passwordHash;
};

struct TranslationMemory {
    std::wstring sourceLanguage;  // BCP 47 tag
    // Every target language that occurs in the TM or that it was created with, in order of
    // first appearance.
    std::vector<std::wstring> targetLanguages;
    std::vector<TranslationUnit> units;
    // Who may open the TM; with nobody listed, anyone may.
    std::vector<TmUser> users{};
};

}  // namespace orv::engine
