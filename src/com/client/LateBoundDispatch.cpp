#include "com/client/LateBoundDispatch.h"

#include <oleauto.h>

#include <utility>

#include "com/automation/ComError.h"
#include "platform/AutomationError.h"

namespace orv::com {

LateBoundDispatch::LateBoundDispatch(Microsoft::WRL::ComPtr<IDispatch> object)
    : object_(std::move(object)) {
    if (!object_) RaiseRuntimeError(kErrObjectNotSet);
}

DISPID LateBoundDispatch::IdOf(const std::wstring& name) const {
    if (const auto found = ids_.find(name); found != ids_.end()) return found->second;
    SetErrorInfo(0, nullptr);
    auto* names = const_cast<LPOLESTR>(name.c_str());
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object_->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw ErrorFromHresult(hr);
    ids_.emplace(name, id);
    return id;
}

OwnedVariant LateBoundDispatch::Invoke(const std::wstring& name, WORD flags,
                                       DISPPARAMS& parameters) const {
    const DISPID id = IdOf(name);
    OwnedVariant result;
    EXCEPINFO exception{};
    UINT argumentError = 0;
    // Error info left on the thread by an earlier call must not pass for this call's.
    SetErrorInfo(0, nullptr);
    const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                       result.out(), &exception, &argumentError);
    if (FAILED(hr)) throw ErrorFromInvoke(hr, &exception);
    return result;
}

OwnedVariant LateBoundDispatch::Get(const std::wstring& name) const {
    DISPPARAMS parameters{nullptr, nullptr, 0, 0};
    return Invoke(name, DISPATCH_PROPERTYGET, parameters);
}

void LateBoundDispatch::Put(const std::wstring& name, OwnedVariant value) const {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{value.get(), &named, 1, 1};
    Invoke(name, DISPATCH_PROPERTYPUT, parameters);
}

OwnedVariant LateBoundDispatch::Call(const std::wstring& name, DispatchArguments arguments) const {
    DISPPARAMS parameters{arguments.Data(), nullptr, arguments.Count(), 0};
    return Invoke(name, DISPATCH_METHOD, parameters);
}

}  // namespace orv::com
