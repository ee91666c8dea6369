#include "OwnedVariant.h"

#include <new>

namespace orv::testdoubles {

OwnedVariant OwnedVariant::Adopt(VARIANT& value) noexcept {
    OwnedVariant owned;
    owned.value_ = value;
    VariantInit(&value);
    return owned;
}

OwnedVariant OwnedVariant::FromString(const std::wstring& text) {
    OwnedVariant owned;
    BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!copy) throw std::bad_alloc();
    owned.value_.vt = VT_BSTR;
    owned.value_.bstrVal = copy;
    return owned;
}

OwnedVariant OwnedVariant::FromLong(int32_t number) noexcept {
    OwnedVariant owned;
    owned.value_.vt = VT_I4;
    owned.value_.lVal = number;
    return owned;
}

OwnedVariant OwnedVariant::FromBoolean(bool flag) noexcept {
    OwnedVariant owned;
    owned.value_.vt = VT_BOOL;
    owned.value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return owned;
}

OwnedVariant::OwnedVariant(OwnedVariant&& other) noexcept : value_(other.value_) {
    VariantInit(&other.value_);
}

OwnedVariant& OwnedVariant::operator=(OwnedVariant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

void OwnedVariant::MoveTo(VARIANT& target) noexcept {
    target = value_;
    VariantInit(&value_);
}

}  // namespace orv::testdoubles
