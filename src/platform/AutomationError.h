#pragma once
// The one error type of the component: what an automation client sees as an error's
// number, source and description. The component's own codes (40000-40017) are raised by
// modErrors; failures of the platform, the file system and collections use the few runtime
// numbers below, which automation clients already know how to read.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orv {

class AutomationError : public std::runtime_error {
public:
    AutomationError(int32_t number, std::wstring source, std::wstring description);

    int32_t number() const noexcept { return number_; }
    const std::wstring& source() const noexcept { return source_; }
    const std::wstring& description() const noexcept { return description_; }

private:
    int32_t number_;
    std::wstring source_;
    std::wstring description_;
};

// Runtime error numbers used for failures that do not come from the component's own table.
enum RuntimeErrorNumber : int32_t {
    kErrInvalidProcedureCall = 5,
    kErrOverflow = 6,
    kErrSubscriptOutOfRange = 9,
    kErrTypeMismatch = 13,
    kErrBadFileName = 52,
    kErrFileNotFound = 53,
    kErrPermissionDenied = 70,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
    kErrObjectNotSet = 91,
    kErrCannotCreateObject = 429,
    kErrDuplicateKey = 457,
};

// The source text of runtime errors raised inside the component.
inline constexpr const wchar_t* kRuntimeErrorSource = L"OrvBatchAnalyse";

// The usual message of a runtime error number; "Application-defined or object-defined
// error" for numbers outside the table.
std::wstring RuntimeErrorMessage(int32_t number);

// Throws AutomationError(number, source, RuntimeErrorMessage(number)).
[[noreturn]] void RaiseRuntimeError(int32_t number,
                                    const std::wstring& source = kRuntimeErrorSource);

}  // namespace orv
