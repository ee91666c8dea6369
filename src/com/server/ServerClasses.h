#pragma once
// The classes clients can create, one table for the class factories and the registration.

#include <windows.h>

#include <span>

namespace orv::com {

struct ServerClass {
    const CLSID* classId;
    const wchar_t* progId;  // also the class's registered name
    // A new object with one reference, as IUnknown; throws what creating it throws.
    IUnknown* (*create)();
};

std::span<const ServerClass> CreatableClasses();

// The class `classId`, or null.
const ServerClass* FindCreatableClass(REFCLSID classId);

}  // namespace orv::com
