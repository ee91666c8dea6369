#include "com/automation/ComText.h"

#include <new>

namespace orv::com {

OwnedBstr::OwnedBstr(const std::wstring& text)
    : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!bstr_) throw std::bad_alloc();
}

std::wstring TextOf(BSTR bstr) {
    if (!bstr) return {};
    return std::wstring(bstr, SysStringLen(bstr));
}

OwnedVariant OwnedVariant::FromString(const std::wstring& text) {
    OwnedVariant owned;
    V_VT(&owned.value_) = VT_BSTR;
    V_BSTR(&owned.value_) = OwnedBstr(text).Release();
    return owned;
}

OwnedVariant OwnedVariant::FromLong(int32_t number) noexcept {
    OwnedVariant owned;
    V_VT(&owned.value_) = VT_I4;
    V_I4(&owned.value_) = number;
    return owned;
}

OwnedVariant OwnedVariant::FromBoolean(bool flag) noexcept {
    OwnedVariant owned;
    V_VT(&owned.value_) = VT_BOOL;
    V_BOOL(&owned.value_) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return owned;
}

}  // namespace orv::com
