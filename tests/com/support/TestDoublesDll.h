#pragma once
// OrvTestDoubles.dll, loaded once per process (LoadedServerDll).

#include "support/LoadedServerDll.h"

namespace orv::test {

struct TestDoublesDll {
    static LoadedServerDll& Get();
};

}  // namespace orv::test
