// The entry points COM and regsvr32 call in a DLL of by-name classes; each is one call over
// the DLL's own table, ServedClasses(). Compiled into each such DLL.
#include <windows.h>

#include <olectl.h>

#include "com/automation/ModulePath.h"
#include "com/objects/ClassRegistration.h"
#include "com/objects/ModuleLifetime.h"

using namespace orv::com::objects;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ModuleLifetime::SetModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return GetClassObject(ServedClasses(), classId, iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return ModuleLifetime::CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    try {
        const std::wstring path = orv::com::ModulePath(ModuleLifetime::Module());
        if (path.empty()) return SELFREG_E_CLASS;
        return RegisterClasses(ServedClasses(), path.c_str());
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    try {
        return UnregisterClasses(ServedClasses());
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}
