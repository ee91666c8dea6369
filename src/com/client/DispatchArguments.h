#pragma once
// The arguments of one IDispatch call, given in the order the callee declares them and kept
// in the order DISPPARAMS wants them (the last first). Owns its values.

#include <windows.h>

#include <oaidl.h>

#include <vector>

#include "com/automation/ComText.h"

namespace orv::com {

class DispatchArguments {
public:
    DispatchArguments() = default;
    DispatchArguments(DispatchArguments&&) = default;
    DispatchArguments& operator=(DispatchArguments&&) = default;
    DispatchArguments(const DispatchArguments&) = delete;
    DispatchArguments& operator=(const DispatchArguments&) = delete;
    ~DispatchArguments();

    // Appends the next argument (to the right of those given so far).
    DispatchArguments& Add(OwnedVariant value);

    UINT Count() const noexcept { return static_cast<UINT>(reversed_.size()); }
    // For DISPPARAMS::rgvarg; valid until the next Add.
    VARIANT* Data() noexcept { return reversed_.empty() ? nullptr : reversed_.data(); }

private:
    std::vector<VARIANT> reversed_;
};

}  // namespace orv::com
