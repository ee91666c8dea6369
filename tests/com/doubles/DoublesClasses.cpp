#include "DoublesClasses.h"

#include "ClassIds.h"
#include "ControlObject.h"
#include "TesseraApplicationDouble.h"
#include "WordApplicationDouble.h"

namespace orv::testdoubles {

const std::vector<DoublesClass>& DoublesClasses() {
    static ClassFactory tessera(&TesseraApplicationDouble::Create);
    static ClassFactory word(&WordApplicationDouble::Create);
    static ClassFactory control(&ControlObject::Create);
    static const std::vector<DoublesClass> classes = {
        {kTesseraApplicationClassId, L"Tessapp.Application", L"Tessera application (test double)",
         tessera},
        {kWordApplicationClassId, L"Word.Application", L"Word application (test double)", word},
        {kControlClassId, L"OrvTestDoubles.Control", L"Control of the test doubles", control},
    };
    return classes;
}

}  // namespace orv::testdoubles
