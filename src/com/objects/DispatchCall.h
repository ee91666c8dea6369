#pragma once
// One call arriving through IDispatch::Invoke, as a member's handler sees it: its
// arguments by position from the left (DISPPARAMS holds them from the right), coerced to
// the type the member declares, and the place for its result. A coercion that fails throws
// DispatchError with DISP_E_TYPEMISMATCH and the argument's index, as a type library's
// Invoke would.

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <string>

#include "com/automation/ComText.h"

namespace orv::com::objects {

class DispatchCall {
public:
    DispatchCall(const DISPPARAMS& parameters, VARIANT* result) noexcept
        : parameters_(parameters), result_(result) {}

    UINT ArgumentCount() const noexcept { return parameters_.cArgs; }
    // Throws DISP_E_BADPARAMCOUNT unless exactly `count` arguments came.
    void ExpectArguments(UINT count) const;

    std::wstring String(UINT position) const;
    int32_t Long(UINT position) const;
    bool Boolean(UINT position) const;
    // The argument coerced to `type`, by-reference forms read through.
    OwnedVariant Coerced(UINT position, VARTYPE type) const;

    // The result, when the caller asked for one.
    void Return(OwnedVariant value) noexcept;
    void ReturnObject(IDispatch* object) noexcept;

private:
    const DISPPARAMS& parameters_;
    VARIANT* result_;
};

}  // namespace orv::com::objects
