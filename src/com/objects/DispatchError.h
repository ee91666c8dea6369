#pragma once
// How a member of a by-name object fails. COM itself answers a malformed call with a bare status
// (wrong argument count, type mismatch, unknown member); an application raises its own
// errors as an automation exception carrying a number and a description. Handlers throw
// this; the dispatch base turns it into Invoke's result.

#include <windows.h>

#include <cstdint>
#include <string>

namespace orv::com::objects {

class DispatchError {
public:
    // A bare status; `argument` is the failing argument's index as Invoke reports it
    // (counted from the right, as in DISPPARAMS).
    static DispatchError Status(HRESULT status, UINT argument = 0) {
        return DispatchError(status, argument, false, {});
    }
    // An automation exception with the number a scripting client shows as Err.Number.
    static DispatchError Exception(int32_t number, std::wstring description) {
        return DispatchError(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF), 0,
                             true, std::move(description));
    }

    bool IsException() const noexcept { return exception_; }
    HRESULT status() const noexcept { return status_; }
    UINT argument() const noexcept { return argument_; }
    const std::wstring& description() const noexcept { return description_; }

private:
    DispatchError(HRESULT status, UINT argument, bool exception, std::wstring description)
        : status_(status),
          argument_(argument),
          exception_(exception),
          description_(std::move(description)) {}

    HRESULT status_;
    UINT argument_;
    bool exception_;
    std::wstring description_;
};

}  // namespace orv::com::objects
