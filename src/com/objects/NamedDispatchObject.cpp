#include "com/objects/NamedDispatchObject.h"

#include <cwchar>
#include <new>

#include "com/automation/ComError.h"
#include "com/objects/DispatchError.h"
#include "com/objects/ModuleLifetime.h"

namespace orv::com::objects {
namespace {

// Member i answers to dispatch id i + 1; 0 is DISPID_VALUE, which no member is.
DISPID DispatchIdOf(size_t index) {
    return static_cast<DISPID>(index + 1);
}

HRESULT ReturnException(EXCEPINFO* exception, HRESULT status, const std::wstring& source,
                        const std::wstring& description) {
    if (!exception) return status;
    *exception = EXCEPINFO{};
    exception->scode = status;
    exception->bstrSource = SysAllocString(source.c_str());
    exception->bstrDescription = SysAllocString(description.c_str());
    return DISP_E_EXCEPTION;
}

}  // namespace

NamedDispatchObject::NamedDispatchObject(std::wstring errorSource)
    : errorSource_(std::move(errorSource)) {
    ModuleLifetime::ObjectCreated();
}

NamedDispatchObject::~NamedDispatchObject() {
    ModuleLifetime::ObjectDestroyed();
}

void NamedDispatchObject::AddMethod(std::wstring name, Handler call) {
    members_.push_back(Member{std::move(name), {}, {}, std::move(call)});
}

void NamedDispatchObject::AddProperty(std::wstring name, Handler get, Handler put) {
    members_.push_back(Member{std::move(name), std::move(get), std::move(put), {}});
}

void NamedDispatchObject::BeforeCall(const std::wstring&) {}

void* NamedDispatchObject::OtherInterface(REFIID) {
    return nullptr;
}

HRESULT NamedDispatchObject::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
    } else {
        *object = OtherInterface(iid);
        if (!*object) return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG NamedDispatchObject::AddRef() {
    return ++references_;
}

ULONG NamedDispatchObject::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT NamedDispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = TypeInfo() ? 1 : 0;
    return S_OK;
}

HRESULT NamedDispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = index == 0 ? TypeInfo() : nullptr;
    if (!*info) return DISP_E_BADINDEX;
    (*info)->AddRef();
    return S_OK;
}

HRESULT NamedDispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (size_t i = 0; i < members_.size(); ++i) {
        if (_wcsicmp(members_[i].name.c_str(), names[0]) == 0) {
            ids[0] = DispatchIdOf(i);
            // No member has named parameters.
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

const NamedDispatchObject::Member* NamedDispatchObject::FindMember(DISPID id) const {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return nullptr;
    return &members_[static_cast<size_t>(id) - 1];
}

HRESULT NamedDispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                    VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (!parameters) return E_INVALIDARG;
    const Member* member = FindMember(id);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    // A handler may quit the application or raise an event whose subscriber lets go of the
    // last outside reference; the object stays alive until the call is done.
    Microsoft::WRL::ComPtr<NamedDispatchObject> self(this);
    if (Disconnected()) return RPC_E_DISCONNECTED;
    try {
        InvokeMember(*member, flags, *parameters, result);
        return S_OK;
    } catch (const DispatchError& error) {
        if (!error.IsException()) {
            if (argumentError) *argumentError = error.argument();
            return error.status();
        }
        return ReturnException(exception, error.status(), errorSource_, error.description());
    } catch (const AutomationError& error) {
        // Error info as well, for a caller that reads it rather than the exception.
        const AutomationError sourced(error.number(),
                                      error.source().empty() ? errorSource_ : error.source(),
                                      error.description());
        const HRESULT status = ReportError(sourced, IID_IDispatch);
        return ReturnException(exception, status, sourced.source(), sourced.description());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

void NamedDispatchObject::InvokeMember(const Member& member, WORD flags,
                                       const DISPPARAMS& parameters, VARIANT* result) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!member.put) throw DispatchError::Status(DISP_E_MEMBERNOTFOUND);
        if (parameters.cNamedArgs != 1 || parameters.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            throw DispatchError::Status(DISP_E_PARAMNOTFOUND);
        if (parameters.cArgs != 1) throw DispatchError::Status(DISP_E_BADPARAMCOUNT);
        BeforeCall(member.name + L"=");
        DispatchCall call(parameters, nullptr);
        member.put(call);
        return;
    }
    if (parameters.cNamedArgs != 0) throw DispatchError::Status(DISP_E_NONAMEDARGS);
    const Handler* handler = nullptr;
    if (member.call && (flags & DISPATCH_METHOD)) {
        handler = &member.call;
    } else if (member.get && (flags & DISPATCH_PROPERTYGET)) {
        if (parameters.cArgs != 0) throw DispatchError::Status(DISP_E_BADPARAMCOUNT);
        handler = &member.get;
    }
    if (!handler) throw DispatchError::Status(DISP_E_MEMBERNOTFOUND);
    BeforeCall(member.name);
    DispatchCall call(parameters, result);
    (*handler)(call);
}

}  // namespace orv::com::objects
