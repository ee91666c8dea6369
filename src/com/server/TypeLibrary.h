#pragma once
// The server's own type library, read from the DLL's resources (never from the registry,
// so an object works whether or not it was registered), and the type information of its
// interfaces and classes, loaded once per process.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

namespace orv::com {

class TypeLibrary {
public:
    // The library, or the HRESULT of the failed load.
    static HRESULT Get(ITypeLib** library) noexcept;
    // The type information of the interface or class `guid`.
    static HRESULT TypeInfoOf(REFGUID guid, ITypeInfo** info) noexcept;
};

}  // namespace orv::com
