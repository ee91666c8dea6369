#include "ServerUnderTest.h"

#include <oleauto.h>

#include <algorithm>
#include <sstream>

#include "ServerPath.h"
#include "com/automation/ComError.h"

namespace orv::test {

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HRESULT CallExport(HMODULE module, const char* name) {
    auto function = Export<HRESULT(STDAPICALLTYPE*)()>(module, name);
    return function ? function() : E_NOTIMPL;
}

}  // namespace

ServerDll& ServerDll::Get() {
    static ServerDll* dll = new ServerDll();  // kept loaded until the process ends
    return *dll;
}

ServerDll::ServerDll() {
    module_ = LoadLibraryW(ORV_SERVER_DLL);
    if (!module_) return;
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size())));
    path_ = path;
}

HRESULT ServerDll::Register() const {
    return module_ ? CallExport(module_, "DllRegisterServer") : E_FAIL;
}

HRESULT ServerDll::Unregister() const {
    return module_ ? CallExport(module_, "DllUnregisterServer") : E_FAIL;
}

HRESULT ServerDll::CanUnloadNow() const {
    return module_ ? CallExport(module_, "DllCanUnloadNow") : E_FAIL;
}

HRESULT ServerDll::ClassObject(REFCLSID classId, REFIID iid, void** object) const {
    if (!module_) return E_FAIL;
    auto function =
        Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(module_, "DllGetClassObject");
    return function ? function(classId, iid, object) : E_NOTIMPL;
}

DispatchOutcome Invoke(IDispatch* object, const std::wstring& name, Call call,
                       std::initializer_list<VARIANT> arguments) {
    DISPID id = DISPID_UNKNOWN;
    auto* names = const_cast<LPOLESTR>(name.c_str());
    const HRESULT found = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(found)) {
        DispatchOutcome outcome;
        outcome.hr = found;
        return outcome;
    }
    const WORD flags = call == Call::Get      ? DISPATCH_PROPERTYGET
                       : call == Call::Put    ? DISPATCH_PROPERTYPUT
                       : call == Call::PutRef ? DISPATCH_PROPERTYPUTREF
                                              : DISPATCH_METHOD;
    return Invoke(object, id, flags, std::vector<VARIANT>(arguments));
}

DispatchOutcome Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments) {
    DispatchOutcome outcome;
    std::reverse(arguments.begin(), arguments.end());  // IDispatch takes the last first
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const bool wantsResult = !(flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF));
    outcome.hr =
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                       wantsResult ? outcome.result.get() : nullptr, &exception, &badArgument);
    if (outcome.hr == DISP_E_EXCEPTION) {
        const AutomationError error = com::ErrorFromInvoke(outcome.hr, &exception);
        outcome.errorNumber = error.number();
        outcome.source = error.source();
        outcome.description = error.description();
    }
    return outcome;
}

VARIANT Long(int32_t value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

VARIANT Short(int16_t value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I2;
    V_I2(&v) = value;
    return v;
}

VARIANT Real(double value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_R8;
    V_R8(&v) = value;
    return v;
}

VARIANT Bool(bool value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT Text(const std::wstring& value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return v;
}

VARIANT Object(IDispatch* value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = value;
    return v;
}

VARIANT Nothing() {
    return Object(nullptr);
}

VARIANT ByRef(VARIANT* value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&v) = value;
    return v;
}

std::string Describe(const VARIANT& value) {
    std::ostringstream text;
    switch (V_VT(&value)) {
        case VT_I4:
            text << "VT_I4 " << V_I4(&value);
            break;
        case VT_R8:
            text << "VT_R8 " << V_R8(&value);
            break;
        case VT_BOOL:
            text << "VT_BOOL " << V_BOOL(&value);
            break;
        case VT_BSTR:
            text << "VT_BSTR \"" << Narrow(com::TextOf(V_BSTR(&value))) << "\"";
            break;
        default:
            text << "VT " << V_VT(&value);
    }
    return text.str();
}

bool SameValue(const VARIANT& left, const VARIANT& right) {
    if (V_VT(&left) != V_VT(&right)) return false;
    switch (V_VT(&left)) {
        case VT_I4:
            return V_I4(&left) == V_I4(&right);
        case VT_R8:
            return V_R8(&left) == V_R8(&right);
        case VT_BOOL:
            return V_BOOL(&left) == V_BOOL(&right);
        case VT_BSTR:
            return com::TextOf(V_BSTR(&left)) == com::TextOf(V_BSTR(&right));
        case VT_DISPATCH:
            return IdentityOf(V_DISPATCH(&left)) == IdentityOf(V_DISPATCH(&right));
        default:
            return false;
    }
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
    return narrow;
}

IUnknown* IdentityOf(IUnknown* object) {
    if (!object) return nullptr;
    IUnknown* identity = nullptr;
    if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
        return nullptr;
    identity->Release();  // the object is kept alive by the caller's reference
    return identity;
}

std::pair<std::wstring, std::wstring> TakeErrorInfo() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) != S_OK || !info) return {};
    com::OwnedBstr source, description;
    info->GetSource(source.out());
    info->GetDescription(description.out());
    return {com::TextOf(source.get()), com::TextOf(description.get())};
}

}  // namespace orv::test
