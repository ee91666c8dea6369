#include "platform/AutomationError.h"

#include "platform/NarrowText.h"

namespace orv {

AutomationError::AutomationError(int32_t number, std::wstring source, std::wstring description)
    : std::runtime_error(ToNarrow(description)),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

std::wstring RuntimeErrorMessage(int32_t number) {
    switch (number) {
        case kErrInvalidProcedureCall:
            return L"Invalid procedure call or argument";
        case kErrOverflow:
            return L"Overflow";
        case kErrSubscriptOutOfRange:
            return L"Subscript out of range";
        case kErrTypeMismatch:
            return L"Type mismatch";
        case kErrBadFileName:
            return L"Bad file name or number";
        case kErrFileNotFound:
            return L"File not found";
        case kErrPermissionDenied:
            return L"Permission denied";
        case kErrPathFileAccess:
            return L"Path/File access error";
        case kErrPathNotFound:
            return L"Path not found";
        case kErrObjectNotSet:
            return L"Object variable or With block variable not set";
        case kErrCannotCreateObject:
            return L"ActiveX component can't create object";
        case kErrDuplicateKey:
            return L"This key is already associated with an element of this collection";
        default:
            return L"Application-defined or object-defined error";
    }
}

void RaiseRuntimeError(int32_t number, const std::wstring& source) {
    throw AutomationError(number, source, RuntimeErrorMessage(number));
}

}  // namespace orv
