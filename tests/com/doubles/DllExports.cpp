// The entry points COM and regsvr32 call; each is one call into the doubles.
#include <windows.h>

#include <string>

#include "DoublesClasses.h"
#include "ModuleLifetime.h"
#include "Registration.h"

using namespace orv::testdoubles;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ModuleLifetime::SetModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const DoublesClass& entry : DoublesClasses())
        if (IsEqualCLSID(entry.classId, classId)) return entry.factory.QueryInterface(iid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    return ModuleLifetime::CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(ModuleLifetime::Module(), path.data(),
                                                static_cast<DWORD>(path.size()));
        if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return RegisterDoubles(path.c_str());
}

STDAPI DllUnregisterServer() {
    return UnregisterDoubles();
}
