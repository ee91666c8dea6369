#include "DispatchObject.h"

#include <cwchar>
#include <new>

#include "DispatchError.h"
#include "DoublesState.h"
#include "ModuleLifetime.h"

namespace orv::testdoubles {
namespace {

// Member i answers to dispatch id i + 1; 0 is DISPID_VALUE, which no double has.
DISPID DispatchIdOf(size_t index) {
    return static_cast<DISPID>(index + 1);
}

void FillException(EXCEPINFO& exception, const DispatchError& error, const std::wstring& source) {
    exception = EXCEPINFO{};
    exception.scode = error.status();
    exception.bstrSource = SysAllocString(source.c_str());
    exception.bstrDescription = SysAllocString(error.description().c_str());
}

}  // namespace

DispatchObject::DispatchObject(std::wstring objectName, std::wstring errorSource, bool instrumented)
    : objectName_(std::move(objectName)),
      errorSource_(std::move(errorSource)),
      instrumented_(instrumented) {
    ModuleLifetime::ObjectCreated();
}

DispatchObject::~DispatchObject() {
    ModuleLifetime::ObjectDestroyed();
}

void DispatchObject::AddMethod(std::wstring name, Handler call) {
    members_.push_back(Member{std::move(name), {}, {}, std::move(call)});
}

void DispatchObject::AddProperty(std::wstring name, Handler get, Handler put) {
    members_.push_back(Member{std::move(name), std::move(get), std::move(put), {}});
}

void DispatchObject::MarkOwnFailurePoint(const std::wstring& name) {
    for (Member& member : members_)
        if (member.name == name) member.ownFailurePoint = true;
}

void DispatchObject::FailIfAsked(const std::wstring& member) const {
    if (!instrumented_) return;
    auto failure = DoublesState::Instance().TakeFailure(objectName_, member);
    if (!failure) return;
    // A negative number is an HRESULT that Invoke returns bare, as a failing transport does.
    if (failure->number < 0) throw DispatchError::Status(static_cast<HRESULT>(failure->number));
    throw DispatchError::Exception(failure->number, std::move(failure->description));
}

void* DispatchObject::OtherInterface(REFIID) {
    return nullptr;
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** object) {
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

ULONG DispatchObject::AddRef() {
    return ++references_;
}

ULONG DispatchObject::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = TypeInfo() ? 1 : 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = index == 0 ? TypeInfo() : nullptr;
    if (!*info) return DISP_E_BADINDEX;
    (*info)->AddRef();
    return S_OK;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
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

const DispatchObject::Member* DispatchObject::FindMember(DISPID id) const {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return nullptr;
    return &members_[static_cast<size_t>(id) - 1];
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (!parameters) return E_INVALIDARG;
    const Member* member = FindMember(id);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    // A handler may quit the application or raise an event whose subscriber lets go of the
    // last outside reference; the object stays alive until the call is done.
    Microsoft::WRL::ComPtr<DispatchObject> self(this);
    if (Disconnected()) return RPC_E_DISCONNECTED;
    try {
        InvokeMember(*member, flags, *parameters, result);
        return S_OK;
    } catch (const DispatchError& error) {
        if (!error.IsException()) {
            if (argumentError) *argumentError = error.argument();
            return error.status();
        }
        if (!exception) return error.status();
        FillException(*exception, error, errorSource_);
        return DISP_E_EXCEPTION;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

void DispatchObject::InvokeMember(const Member& member, WORD flags, const DISPPARAMS& parameters,
                                  VARIANT* result) {
    auto record = [&](const std::wstring& call) {
        if (instrumented_) DoublesState::Instance().RecordCall(objectName_ + L"." + call);
    };
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!member.put) throw DispatchError::Status(DISP_E_MEMBERNOTFOUND);
        if (parameters.cNamedArgs != 1 || parameters.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            throw DispatchError::Status(DISP_E_PARAMNOTFOUND);
        if (parameters.cArgs != 1) throw DispatchError::Status(DISP_E_BADPARAMCOUNT);
        record(member.name + L"=");
        if (!member.ownFailurePoint) FailIfAsked(member.name);
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
    record(member.name);
    if (!member.ownFailurePoint) FailIfAsked(member.name);
    DispatchCall call(parameters, result);
    (*handler)(call);
}

}  // namespace orv::testdoubles
