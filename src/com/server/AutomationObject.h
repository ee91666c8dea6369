#pragma once
// The base of every published object: reference counting, IDispatch through the type
// library's description of `Interface`, ISupportErrorInfo, the private link to the
// component object, and the one guard every method runs in, so that no C++ exception ever
// crosses the COM boundary: errors become error info and an HRESULT (ComError.h).
//
// Apartment-threaded like the component: an object is called on the thread that made it.
// Only the reference count is atomic, because the wrapper registry may read it from
// another apartment.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>
#include <utility>

#include "com/automation/ComError.h"
#include "com/server/CoreObjectLink.h"
#include "com/server/ServerModule.h"
#include "com/server/TypeLibrary.h"
#include "com/server/WrapperRegistry.h"

namespace orv::com {

template <typename Interface, typename Core>
class AutomationObject : public Interface, public ISupportErrorInfo, public CoreObjectLink {
public:
    using CoreType = Core;

    AutomationObject(const AutomationObject&) = delete;
    AutomationObject& operator=(const AutomationObject&) = delete;

    // IUnknown. One IUnknown pointer per object, whichever interface it is asked through.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = QueryOwn(iid);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            WrapperRegistry::Forget(core_.get(), Identity());
            delete this;
        }
        return left;
    }

    // IDispatch, as the type library describes the interface.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return TypeLibrary::TypeInfoOf(__uuidof(Interface), info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        Microsoft::WRL::ComPtr<ITypeInfo> info;
        const HRESULT found = TypeLibrary::TypeInfoOf(__uuidof(Interface), &info);
        if (FAILED(found)) return found;
        return info->GetIDsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        Microsoft::WRL::ComPtr<ITypeInfo> info;
        const HRESULT found = TypeLibrary::TypeInfoOf(__uuidof(Interface), &info);
        if (FAILED(found)) return found;
        DISPPARAMS none{};
        if (!params) params = &none;
        return InvokeThrough(info.Get(), id, AdjustFlags(id, flags), params, result, exception,
                             badArgument);
    }

    // ISupportErrorInfo: every method of the published interface sets error info.
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return IsEqualIID(iid, __uuidof(Interface)) ? S_OK : S_FALSE;
    }

    // CoreObjectLink.
    std::shared_ptr<void> STDMETHODCALLTYPE CoreObject(REFIID publishedInterface) override {
        if (!IsEqualIID(publishedInterface, __uuidof(Interface))) return nullptr;
        return core_;
    }

    IUnknown* Identity() noexcept { return static_cast<IUnknown*>(static_cast<Interface*>(this)); }
    // An AddRef that fails on an object already on its way out, for the wrapper registry.
    bool TryAddRef() noexcept {
        ULONG current = references_.load();
        while (current != 0) {
            if (references_.compare_exchange_weak(current, current + 1)) return true;
        }
        return false;
    }

protected:
    explicit AutomationObject(std::shared_ptr<Core> core) : core_(std::move(core)) {
        ServerModule::Lock();
    }
    virtual ~AutomationObject() { ServerModule::Unlock(); }

    // Further interfaces of a derived class (connection points, enumeration), or null.
    virtual void* QueryMore(REFIID) { return nullptr; }

    // A member's dispatch flags as the type library needs them; a collection widens some.
    virtual WORD AdjustFlags(DISPID, WORD flags) { return flags; }

    // Runs a member's body: S_OK, or the error it raised, reported.
    template <typename Body>
    HRESULT Guarded(Body body) noexcept {
        try {
            body();
            return S_OK;
        } catch (...) {
            return ReportCurrentException(__uuidof(Interface));
        }
    }

    Core& core() const noexcept { return *core_; }
    const std::shared_ptr<Core>& coreObject() const noexcept { return core_; }

private:
    void* QueryOwn(REFIID iid) {
        if (IsEqualIID(iid, IID_IUnknown)) return Identity();
        if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, __uuidof(Interface)))
            return static_cast<Interface*>(this);
        if (IsEqualIID(iid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
        if (IsEqualIID(iid, kCoreObjectLinkId)) return static_cast<CoreObjectLink*>(this);
        return QueryMore(iid);
    }

    // ITypeInfo::Invoke calls the member through the vtable; a property read given
    // arguments it does not take is, as automation clients expect, a read of the object's
    // default member with them ("ba.Files(1)").
    HRESULT InvokeThrough(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
        Interface* self = this;
        const HRESULT invoked =
            info->Invoke(self, id, flags, params, result, exception, badArgument);
        const bool mayBeDefaultMember =
            invoked == DISP_E_BADPARAMCOUNT || invoked == DISP_E_MEMBERNOTFOUND;
        if (!mayBeDefaultMember || !(flags & DISPATCH_PROPERTYGET) || params->cArgs == 0 ||
            params->cNamedArgs != 0) {
            return invoked;
        }
        VARIANT object;
        VariantInit(&object);
        DISPPARAMS noArguments{};
        HRESULT read = info->Invoke(self, id, DISPATCH_PROPERTYGET, &noArguments, &object,
                                    exception, badArgument);
        if (SUCCEEDED(read) && V_VT(&object) == VT_DISPATCH && V_DISPATCH(&object)) {
            // The default member may be a method (Files.Item) or a property.
            read = V_DISPATCH(&object)->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                                               DISPATCH_METHOD | DISPATCH_PROPERTYGET, params,
                                               result, exception, badArgument);
        } else if (SUCCEEDED(read)) {
            read = invoked;
        }
        VariantClear(&object);
        return read;
    }

    std::atomic<ULONG> references_{1};
    std::shared_ptr<Core> core_;
};

}  // namespace orv::com
