#pragma once
// Changing who may open a TMX file without touching anything else in it: the notes,
// properties and attributes that other tools wrote, which the engine's own model of a TM
// does not keep.

#include <string>
#include <string_view>
#include <vector>

#include "engine/model/TranslationMemory.h"

namespace orv::engine {

// `tmx` (the whole file) with the user entries of its header replaced by `users`; every other
// element, attribute, comment and entity reference is kept. UTF-8 whatever the file's
// encoding was. Throws an engine error naming `path` when `tmx` is not well-formed or has no
// header.
std::string TmxTextWithUsers(std::string_view tmx, const std::vector<TmUser>& users,
                             const std::wstring& path);

}  // namespace orv::engine
