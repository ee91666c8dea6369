#include "com/automation/ComText.h"

#include <new>

namespace orv::com {

OwnedBstr::OwnedBstr(const std::wstring& text)
    : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!bstr_) throw std::bad_alloc();
}

std::wstring TextOf(BSTR bstr) {
    if (!bstr) return {};
    return std::wstring(bstr, SysStringLen(bstr));
}

}  // namespace orv::com
