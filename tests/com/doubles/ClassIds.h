#pragma once
// The identities the doubles answer to. The application's class id and its event interface
// are those of the real Tessera; Word's and the control's are the doubles' own.

#include <windows.h>

namespace orv::testdoubles {

extern const CLSID kTesseraApplicationClassId;  // "Tessapp.Application"
extern const CLSID kWordApplicationClassId;     // "Word.Application"
extern const CLSID kControlClassId;             // "OrvTestDoubles.Control"
extern const IID kBatchEventsInterfaceId;       // OnBatchCancelledByUser

}  // namespace orv::testdoubles
