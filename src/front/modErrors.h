#pragma once
// The single place where one of the component's error numbers becomes a message, and the
// one way the component raises its own errors.

#include <cstdint>
#include <string>

#include "front/OrvBatchAnalyseErrors.h"
#include "platform/AutomationError.h"

namespace orv::modErrors {

// The message of `code`; `detail` is used only by 40003 (a file) and 40004 (a folder), and
// inserted as given. Numbers without a text of their own give "Unknown error". Never fails.
std::wstring GetErrorMessage(int32_t code, const std::wstring& detail);

// Throws AutomationError(code, source, GetErrorMessage(code, detail)).
[[noreturn]] void RaiseError(int32_t code, const std::wstring& detail = L"",
                             const std::wstring& source = L"");

}  // namespace orv::modErrors
