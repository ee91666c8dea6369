// The four entry points of a self-registering in-process server.

#include <windows.h>

#include <olectl.h>

#include <new>

#include "com/server/ClassFactory.h"
#include "com/server/Registration.h"
#include "com/server/ServerClasses.h"
#include "com/server/ServerModule.h"

using orv::com::ServerModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ServerModule::SetHandle(module);
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    const orv::com::ServerClass* serverClass = orv::com::FindCreatableClass(classId);
    if (!serverClass) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) orv::com::ClassFactory(*serverClass);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT asked = factory->QueryInterface(iid, object);
    factory->Release();
    return asked;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return ServerModule::CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    try {
        const HRESULT registered = orv::com::RegisterServer(ServerModule::Path());
        return SUCCEEDED(registered) ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        orv::com::UnregisterServer();
        return SELFREG_E_CLASS;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    try {
        return SUCCEEDED(orv::com::UnregisterServer()) ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}
