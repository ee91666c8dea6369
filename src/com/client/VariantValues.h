#pragma once
// Values between VARIANTs and the component's C++ types, as a late-bound caller converts
// them: by-reference forms are read through, and anything the type can take is coerced
// (a Long that arrives as an Integer, a Boolean as a Long). What cannot be converted throws
// AutomationError 13 (type mismatch), or 6 (overflow) for a number out of range.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "com/automation/ComText.h"

namespace orv::com {

template <typename T>
T ValueAs(const VARIANT& value);
template <>
int32_t ValueAs<int32_t>(const VARIANT& value);
template <>
bool ValueAs<bool>(const VARIANT& value);
template <>
std::wstring ValueAs<std::wstring>(const VARIANT& value);

// The object a VARIANT holds; none for Nothing, Empty and Null.
Microsoft::WRL::ComPtr<IDispatch> ObjectOf(const VARIANT& value);

// A one-dimensional array of numbers in any of the forms an application hands one out: of
// Longs, Integers or Variants, directly or by reference, any lower bound. Empty and Null
// give no numbers.
std::vector<int32_t> LongsOf(const VARIANT& value);

OwnedVariant VariantFrom(int32_t value) noexcept;
OwnedVariant VariantFrom(bool value) noexcept;
OwnedVariant VariantFrom(const std::wstring& value);
// A literal is text, never the Boolean its pointer would otherwise convert to.
inline OwnedVariant VariantFrom(const wchar_t* value) {
    return VariantFrom(std::wstring(value));
}

}  // namespace orv::com
