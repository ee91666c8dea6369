#pragma once
// "Did you mean" for a mistyped option, subcommand or option-file key.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::cli {

// Optimal string alignment distance without regard to ASCII case: insertions, deletions,
// substitutions and swaps of two neighbouring letters, the slips people make when typing.
std::size_t EditDistance(std::string_view a, std::string_view b);

// The name of `candidates` closest to `typed` (ASCII case ignored, a swap of two neighbours
// counting as one edit), when it is close enough to be what was meant: at most a third of
// its letters wrong, and at least one edit is always allowed.
std::optional<std::string> ClosestName(std::string_view typed,
                                       const std::vector<std::string>& candidates);

}  // namespace orv::cli
