// The one class a stand-in DLL serves, for DllGetClassObject and registration.
#include "com/objects/ClassRegistration.h"
#include "com/standin/ApplicationObject.h"
#include "com/standin/TesseraIds.h"

namespace orv::com::objects {

std::span<const ServedClass> ServedClasses() {
    static ClassFactory application(&ApplicationObject::Create);
    static const ServedClass classes[] = {
        {kTesseraApplicationClassId, kTesseraProgId, L"Tessera application (stand-in)",
         application},
    };
    return classes;
}

}  // namespace orv::com::objects
