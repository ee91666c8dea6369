#pragma once
// The identities under which Tessera's automation objects are known: the application's
// class, its published interfaces and its event interface. Whatever stands in Tessera's
// place on Windows answers to these.

#include <windows.h>

#include "tessera/TessappOptions.h"

namespace orv::com {

extern const CLSID kTesseraApplicationClassId;  // "Tessapp.Application"
extern const IID kTessappApplicationId;
extern const IID kTessappTMId;
extern const IID kBatchEventsInterfaceId;  // OnBatchCancelledByUser(ProcessedFiles)

// kTessappConcordanceOptionsId and the other six, one for each option group.
#define ORV_GROUP_INTERFACE_ID(group, list) extern const IID kTessapp##group##Id;
ORV_OPTION_GROUPS(ORV_GROUP_INTERFACE_ID)
#undef ORV_GROUP_INTERFACE_ID

// The ProgID of the application's class.
inline constexpr const wchar_t* kTesseraProgId = L"Tessapp.Application";

}  // namespace orv::com
