#include "DoublesClasses.h"

#include "ClassIds.h"
#include "ControlObject.h"
#include "TesseraApplicationDouble.h"
#include "WordApplicationDouble.h"

namespace orv::com::objects {

std::span<const ServedClass> ServedClasses() {
    using namespace orv::testdoubles;
    static ClassFactory tessera(&TesseraApplicationDouble::Create);
    static ClassFactory word(&WordApplicationDouble::Create);
    static ClassFactory control(&ControlObject::Create);
    static const ServedClass classes[] = {
        {kTesseraApplicationClassId, L"Tessapp.Application", L"Tessera application (test double)",
         tessera},
        {kWordApplicationClassId, L"Word.Application", L"Word application (test double)", word},
        {kControlClassId, L"OrvTestDoubles.Control", L"Control of the test doubles", control},
    };
    return classes;
}

}  // namespace orv::com::objects
