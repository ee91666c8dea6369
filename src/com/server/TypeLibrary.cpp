#include "com/server/TypeLibrary.h"

#include <mutex>

#include "com/server/ServerModule.h"

namespace orv::com {

namespace {
std::mutex mutex_;
// Held until the process ends: releasing it while the DLL is detached would call into
// another DLL from DllMain.
ITypeLib* library_ = nullptr;
}  // namespace

HRESULT TypeLibrary::Get(ITypeLib** library) noexcept {
    if (!library) return E_POINTER;
    *library = nullptr;
    std::lock_guard lock(mutex_);
    if (!library_) {
        const std::wstring path = ServerModule::Path();
        if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
        const HRESULT loaded = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library_);
        if (FAILED(loaded)) {
            library_ = nullptr;
            return loaded;
        }
    }
    library_->AddRef();
    *library = library_;
    return S_OK;
}

HRESULT TypeLibrary::TypeInfoOf(REFGUID guid, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    Microsoft::WRL::ComPtr<ITypeLib> library;
    const HRESULT loaded = Get(&library);
    if (FAILED(loaded)) return loaded;
    return library->GetTypeInfoOfGuid(guid, info);
}

}  // namespace orv::com
