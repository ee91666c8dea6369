// Wires the object services of a Windows build: Tessera and Word are reached through COM.
// One stateless instance serves the whole process.
#include "com/client/ComObjectServices.h"

namespace orv {

std::shared_ptr<ObjectServices> DefaultObjectServices() {
    static const std::shared_ptr<ObjectServices> services =
        std::make_shared<com::ComObjectServices>();
    return services;
}

}  // namespace orv
