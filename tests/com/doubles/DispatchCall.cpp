#include "DispatchCall.h"

#include "DispatchError.h"

namespace orv::testdoubles {

void DispatchCall::ExpectArguments(UINT count) const {
    if (parameters_.cArgs != count) throw DispatchError::Status(DISP_E_BADPARAMCOUNT);
}

OwnedVariant DispatchCall::Coerced(UINT position, VARTYPE type) const {
    if (position >= parameters_.cArgs) throw DispatchError::Status(DISP_E_BADPARAMCOUNT);
    const UINT index = parameters_.cArgs - 1 - position;
    OwnedVariant direct;
    // VariantChangeType does not read through every by-reference form; copy the value out.
    HRESULT hr = VariantCopyInd(&direct.get(), &parameters_.rgvarg[index]);
    OwnedVariant coerced;
    if (SUCCEEDED(hr)) hr = VariantChangeType(&coerced.get(), &direct.get(), 0, type);
    if (FAILED(hr)) {
        throw DispatchError::Status(hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH,
                                    index);
    }
    return coerced;
}

std::wstring DispatchCall::String(UINT position) const {
    const OwnedVariant value = Coerced(position, VT_BSTR);
    const BSTR text = value.get().bstrVal;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

int32_t DispatchCall::Long(UINT position) const {
    return Coerced(position, VT_I4).get().lVal;
}

bool DispatchCall::Boolean(UINT position) const {
    return Coerced(position, VT_BOOL).get().boolVal != VARIANT_FALSE;
}

void DispatchCall::Return(OwnedVariant value) noexcept {
    if (result_) value.MoveTo(*result_);
}

void DispatchCall::ReturnObject(IDispatch* object) noexcept {
    if (!result_) return;
    if (object) object->AddRef();
    result_->vt = VT_DISPATCH;
    result_->pdispVal = object;
}

}  // namespace orv::testdoubles
