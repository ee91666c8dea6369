// Wires the object services of this build: until an application stands in Tessera's place
// here, a machine without Tessera.
#include "tessera/NoObjectServices.h"

namespace orv {

std::shared_ptr<ObjectServices> DefaultObjectServices() {
    static const std::shared_ptr<ObjectServices> services = std::make_shared<NoObjectServices>();
    return services;
}

}  // namespace orv
