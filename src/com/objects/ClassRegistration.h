#pragma once
// Self-registration of a by-name server's classes under HKEY_CLASSES_ROOT, from one table:
// each class id with its in-process server (the DLL, apartment-threaded), ProgID and
// version-independent ProgID, and each ProgID with its class id. Unregistration removes
// exactly that, and leaves a ProgID alone that another server has taken over meanwhile (a
// real application installed beside this one).

#include <windows.h>

#include <span>

#include "com/objects/ClassFactory.h"

namespace orv::com::objects {

struct ServedClass {
    const CLSID& classId;
    const wchar_t* progId;
    const wchar_t* description;
    ClassFactory& factory;
};

// On failure returns the first failing status; what was written before it stays.
HRESULT RegisterClasses(std::span<const ServedClass> classes, const wchar_t* modulePath);
// Entries already missing are no failure.
HRESULT UnregisterClasses(std::span<const ServedClass> classes);

// The table of the DLL being built: each DLL of by-name classes defines it once, and
// ServedDllExports.cpp serves it.
std::span<const ServedClass> ServedClasses();

// DllGetClassObject over the table.
HRESULT GetClassObject(std::span<const ServedClass> classes, REFCLSID classId, REFIID iid,
                       void** object);

}  // namespace orv::com::objects
