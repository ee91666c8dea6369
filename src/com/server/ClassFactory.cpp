#include "com/server/ClassFactory.h"

#include "com/automation/ComError.h"
#include "com/server/ServerModule.h"

namespace orv::com {

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ClassFactory::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
        IUnknown* created = class_.create();
        const HRESULT asked = created->QueryInterface(iid, object);
        created->Release();
        return asked;
    } catch (...) {
        return ReportCurrentException(IID_IClassFactory);
    }
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        ServerModule::Lock();
    } else {
        ServerModule::Unlock();
    }
    return S_OK;
}

}  // namespace orv::com
