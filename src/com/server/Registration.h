#pragma once
// What regsvr32 does with the server: the registry entries of every creatable class
// (class id, ProgID, in-process server path, apartment threading, type library) and the
// registration of the type library with its interfaces. Unregistration removes every one
// of them again.

#include <windows.h>

#include <string>

namespace orv::com {

// On failure removes whatever it wrote and returns the first failure.
HRESULT RegisterServer(const std::wstring& serverPath);
// Entries already missing are no failure.
HRESULT UnregisterServer();

}  // namespace orv::com
