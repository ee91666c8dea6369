#pragma once
// Self-registration of the doubles' classes under HKEY_CLASSES_ROOT: each class id with its
// in-process server (this DLL, apartment-threaded) and ProgID, and each ProgID with its
// class id. Unregistration removes exactly that, and leaves a ProgID alone that another
// server has taken over meanwhile (a real application installed beside the doubles).

#include <windows.h>

namespace orv::testdoubles {

HRESULT RegisterDoubles(const wchar_t* modulePath);
HRESULT UnregisterDoubles();

}  // namespace orv::testdoubles
