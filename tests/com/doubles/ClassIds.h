#pragma once
// The identities the doubles answer to. The application's class id and its event interface
// are those of the real Tessera; Word's and the control's are the doubles' own.

#include <windows.h>

#include "com/standin/TesseraIds.h"

namespace orv::testdoubles {

using com::kBatchEventsInterfaceId;          // OnBatchCancelledByUser
using com::kTesseraApplicationClassId;       // "Tessapp.Application"
extern const CLSID kWordApplicationClassId;  // "Word.Application"
extern const CLSID kControlClassId;          // "OrvTestDoubles.Control"

}  // namespace orv::testdoubles
