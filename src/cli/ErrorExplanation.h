#pragma once
// What a failure of the component means, in words a user can act on. Several numbers share
// the message "Unknown error", so the number alone tells the user little.

#include <cstdint>
#include <string>

namespace orv::cli {

// One sentence for the component's numbers (40000-40017) and the engine's (50000-50003);
// empty for any other number.
std::string ExplainError(int32_t number);

}  // namespace orv::cli
