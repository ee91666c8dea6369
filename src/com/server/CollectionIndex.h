#pragma once
// What a client means by the index it passes to a collection: text selects by key,
// anything with a numeric value by position. Scripts pass whatever they hold: a variable by
// reference, a Double from arithmetic, a Byte, a Boolean, an object with a default value.

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <string>
#include <variant>

namespace orv::com {

using CollectionIndex = std::variant<int32_t, std::wstring>;

// Raises 13 (type mismatch) for what has no number, such as Empty, Null or an array, and
// 6 (overflow) for a number beyond 32 bits. A fractional position rounds as the automation
// conversion does (half to even).
CollectionIndex ReadCollectionIndex(const VARIANT& index);

}  // namespace orv::com
