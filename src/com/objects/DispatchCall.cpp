#include "com/objects/DispatchCall.h"

#include "com/objects/DispatchError.h"

namespace orv::com::objects {

void DispatchCall::ExpectArguments(UINT count) const {
    if (parameters_.cArgs != count) throw DispatchError::Status(DISP_E_BADPARAMCOUNT);
}

OwnedVariant DispatchCall::Coerced(UINT position, VARTYPE type) const {
    if (position >= parameters_.cArgs) throw DispatchError::Status(DISP_E_BADPARAMCOUNT);
    const UINT index = parameters_.cArgs - 1 - position;
    OwnedVariant direct;
    // VariantChangeType does not read through every by-reference form; copy the value out.
    HRESULT hr = VariantCopyInd(direct.get(), &parameters_.rgvarg[index]);
    OwnedVariant coerced;
    if (SUCCEEDED(hr)) hr = VariantChangeType(coerced.get(), direct.get(), 0, type);
    if (FAILED(hr)) {
        throw DispatchError::Status(hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH,
                                    index);
    }
    return coerced;
}

std::wstring DispatchCall::String(UINT position) const {
    const OwnedVariant value = Coerced(position, VT_BSTR);
    return TextOf(V_BSTR(value.get()));
}

int32_t DispatchCall::Long(UINT position) const {
    return V_I4(Coerced(position, VT_I4).get());
}

bool DispatchCall::Boolean(UINT position) const {
    return V_BOOL(Coerced(position, VT_BOOL).get()) != VARIANT_FALSE;
}

void DispatchCall::Return(OwnedVariant value) noexcept {
    if (result_) *result_ = value.Release();
}

void DispatchCall::ReturnObject(IDispatch* object) noexcept {
    if (!result_) return;
    if (object) object->AddRef();
    V_VT(result_) = VT_DISPATCH;
    V_DISPATCH(result_) = object;
}

}  // namespace orv::com::objects
