#pragma once
// What one stand-in application object serves: a C++ Tessera application and its extras.
// Each DLL of the stand-in supplies CreateStandInParts in one composition file (the engine,
// or a fake in tests); the class factory calls it once for each application it creates.

#include <memory>

#include "com/standin/StandInExtras.h"
#include "tessera/TessappApplication.h"

namespace orv::com {

struct StandInParts {
    std::shared_ptr<TessappApplication> application;  // never none
    std::shared_ptr<StandInExtras> extras;            // none: the extra members are absent
};

// A new application and its extras; throws AutomationError when none can be made.
StandInParts CreateStandInParts();

}  // namespace orv::com
