#pragma once
// Takes over a reference the caller already owns (a new object's first one, an [out]
// pointer) into a ComPtr. MinGW-w64's ComPtr::Attach adds a reference of its own, unlike
// the documented behaviour, so every object attached with it would leak.

#include <wrl/client.h>

namespace orv::com {

template <typename T>
Microsoft::WRL::ComPtr<T> Adopt(T* owned) noexcept {
    Microsoft::WRL::ComPtr<T> pointer;
    *pointer.GetAddressOf() = owned;
    return pointer;
}

}  // namespace orv::com
