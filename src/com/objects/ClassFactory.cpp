#include "com/objects/ClassFactory.h"

#include <new>

#include "com/automation/ComError.h"
#include "com/objects/ModuleLifetime.h"

namespace orv::com::objects {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
        return create_(iid, object);
    } catch (...) {
        return ReportCurrentException(IID_IClassFactory);
    }
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    ModuleLifetime::Lock(lock != FALSE);
    return S_OK;
}

}  // namespace orv::com::objects
