// Wires the object services of a build where the embedded engine stands in for Tessera and
// there is no Word: every POSIX build, and the engine's own tests on Windows. This is the one
// place of the core that knows the engine.
#include "engine/app/EngineObjectServices.h"

namespace orv {

std::shared_ptr<ObjectServices> DefaultObjectServices() {
    static const std::shared_ptr<ObjectServices> services =
        std::make_shared<engine::EngineObjectServices>();
    return services;
}

}  // namespace orv
