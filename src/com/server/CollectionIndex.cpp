#include "com/server/CollectionIndex.h"

#include <oleauto.h>

#include "com/automation/ComText.h"
#include "platform/AutomationError.h"

namespace orv::com {

CollectionIndex ReadCollectionIndex(const VARIANT& index) {
    OwnedVariant value;
    if (FAILED(VariantCopyInd(value.get(), const_cast<VARIANT*>(&index))))
        RaiseRuntimeError(kErrTypeMismatch);
    if (V_VT(value.get()) == VT_BSTR) return TextOf(V_BSTR(value.get()));
    if (V_VT(value.get()) == VT_EMPTY || V_VT(value.get()) == VT_NULL ||
        V_VT(value.get()) == VT_ERROR || (V_VT(value.get()) & VT_ARRAY)) {
        RaiseRuntimeError(kErrTypeMismatch);
    }
    OwnedVariant position;
    const HRESULT converted = VariantChangeType(position.get(), value.get(), 0, VT_I4);
    if (converted == DISP_E_OVERFLOW) RaiseRuntimeError(kErrOverflow);
    if (FAILED(converted)) RaiseRuntimeError(kErrTypeMismatch);
    return static_cast<int32_t>(V_I4(position.get()));
}

}  // namespace orv::com
