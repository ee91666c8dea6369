#include "com/client/VariantValues.h"

#include <oleauto.h>

#include "platform/AutomationError.h"

namespace orv::com {
namespace {

[[noreturn]] void RaiseConversionError(HRESULT hr) {
    RaiseRuntimeError(hr == DISP_E_OVERFLOW ? kErrOverflow : kErrTypeMismatch);
}

// The value itself, however many references lead to it. VariantCopyInd reads through one
// reference only, and refuses a Variant by reference that holds a reference again (as hosts
// that pass a by-reference argument on give them): those are followed here first.
OwnedVariant Dereferenced(const VARIANT& value) {
    const VARIANT* source = &value;
    for (int depth = 0; source->vt == (VT_BYREF | VT_VARIANT) && depth < 8; ++depth) {
        if (!source->pvarVal) RaiseRuntimeError(kErrTypeMismatch);
        source = source->pvarVal;
    }
    OwnedVariant direct;
    const HRESULT hr = VariantCopyInd(direct.out(), const_cast<VARIANT*>(source));
    if (FAILED(hr) || (direct.get()->vt & VT_BYREF)) RaiseConversionError(hr);
    return direct;
}

OwnedVariant Coerced(const VARIANT& value, VARTYPE type) {
    OwnedVariant direct = Dereferenced(value);
    OwnedVariant coerced;
    const HRESULT hr = VariantChangeType(coerced.out(), direct.get(), 0, type);
    if (FAILED(hr)) RaiseConversionError(hr);
    return coerced;
}

// Element `index` of a one-dimensional array whose elements are `type`, as a VARIANT.
OwnedVariant ElementOf(SAFEARRAY& array, VARTYPE type, LONG index) {
    OwnedVariant element;
    HRESULT hr;
    if (type == VT_VARIANT) {
        hr = SafeArrayGetElement(&array, &index, element.out());
    } else {
        // Every element type that fits a VARIANT's value starts where its union starts;
        // SafeArrayGetElement copies strings and objects, so the VARIANT owns what it holds.
        VARIANT* raw = element.out();
        hr = SafeArrayGetElement(&array, &index, &raw->lVal);
        if (SUCCEEDED(hr)) raw->vt = type;
    }
    if (FAILED(hr)) RaiseRuntimeError(kErrTypeMismatch);
    return element;
}

}  // namespace

template <>
int32_t ValueAs<int32_t>(const VARIANT& value) {
    return Coerced(value, VT_I4).get()->lVal;
}

template <>
bool ValueAs<bool>(const VARIANT& value) {
    return Coerced(value, VT_BOOL).get()->boolVal != VARIANT_FALSE;
}

template <>
std::wstring ValueAs<std::wstring>(const VARIANT& value) {
    return TextOf(Coerced(value, VT_BSTR).get()->bstrVal);
}

Microsoft::WRL::ComPtr<IDispatch> ObjectOf(const VARIANT& value) {
    OwnedVariant direct = Dereferenced(value);
    const VARIANT& v = *direct.get();
    Microsoft::WRL::ComPtr<IDispatch> object;
    switch (v.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return nullptr;
        case VT_DISPATCH:
            object = v.pdispVal;
            return object;
        case VT_UNKNOWN:
            if (!v.punkVal) return nullptr;
            if (FAILED(v.punkVal->QueryInterface(IID_PPV_ARGS(&object))))
                RaiseRuntimeError(kErrTypeMismatch);
            return object;
        default:
            RaiseRuntimeError(kErrTypeMismatch);
    }
}

std::vector<int32_t> LongsOf(const VARIANT& value) {
    OwnedVariant direct = Dereferenced(value);
    const VARIANT& v = *direct.get();
    if (v.vt == VT_EMPTY || v.vt == VT_NULL) return {};
    if (!(v.vt & VT_ARRAY)) RaiseRuntimeError(kErrTypeMismatch);
    SAFEARRAY* array = v.parray;
    if (!array) return {};
    if (SafeArrayGetDim(array) != 1) RaiseRuntimeError(kErrTypeMismatch);
    const VARTYPE type = static_cast<VARTYPE>(v.vt & VT_TYPEMASK);
    // A DECIMAL fills the whole VARIANT and a record has no VARIANT form: neither is a
    // language id.
    if (type == VT_DECIMAL || type == VT_RECORD) RaiseRuntimeError(kErrTypeMismatch);
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper)))
        RaiseRuntimeError(kErrTypeMismatch);
    std::vector<int32_t> numbers;
    for (LONG index = lower; index <= upper; ++index)
        numbers.push_back(ValueAs<int32_t>(*ElementOf(*array, type, index).get()));
    return numbers;
}

OwnedVariant VariantFrom(int32_t value) noexcept {
    OwnedVariant variant;
    variant.get()->vt = VT_I4;
    variant.get()->lVal = value;
    return variant;
}

OwnedVariant VariantFrom(bool value) noexcept {
    OwnedVariant variant;
    variant.get()->vt = VT_BOOL;
    variant.get()->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return variant;
}

OwnedVariant VariantFrom(const std::wstring& value) {
    OwnedVariant variant;
    variant.get()->bstrVal = OwnedBstr(value).Release();
    variant.get()->vt = VT_BSTR;
    return variant;
}

}  // namespace orv::com
