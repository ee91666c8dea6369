#pragma once
// A match index kept in a cache file (CacheFile.h) between runs: its arrays are the file's
// sections, in their order in TmIndexData.h, and a read index searches them where the file is
// mapped, so that opening one costs no parsing and no copy.

#include <optional>
#include <string>
#include <string_view>

#include "engine/match/Substitution.h"
#include "engine/match/TmIndex.h"

namespace orv::engine {

// Writes `index` to `path` for `key` (what it was built from), whole or not at all and
// readable by its owner only. Throws FileFailure.
void WriteTmIndexFile(const TmIndex& index, const std::wstring& path, std::string_view key);

// The index in the file at `path` when it was written for exactly `key` by this version of
// the engine, is whole, and can be searched safely (IsSearchable); none otherwise. The caller
// gives what the key stands for: the target language and the substitution it was built with.
std::optional<TmIndex> ReadTmIndexFile(const std::wstring& path, std::string_view key,
                                       const std::wstring& targetLanguage,
                                       const SubstitutionOptions& substitution);

}  // namespace orv::engine
