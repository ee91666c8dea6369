#pragma once

#include <cstdint>

#include "platform/AutomationError.h"

namespace orv::test {

// The number of the automation error `call` raised, or 0 when it raised none.
template <typename Call>
int32_t ErrorNumberOf(Call call) {
    try {
        call();
    } catch (const AutomationError& error) {
        return error.number();
    }
    return 0;
}

}  // namespace orv::test
