#pragma once
// The text of DefaultRules.srx, which the build compiles into the engine so that the engine
// needs no file of its own at run time.

#include <string_view>

namespace orv::engine {

std::string_view BuiltInSrxText();

}  // namespace orv::engine
