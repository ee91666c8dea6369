#pragma once
// How the server finds the component object behind a COM object that a client hands back
// (a record put into a collection, a session put into BatchAnalyse). Only this server's own
// objects answer the private interface: an object made elsewhere that merely implements a
// published interface has no component object behind it and is refused as a type mismatch.

#include <windows.h>

#include <unknwn.h>
#include <wrl/client.h>

#include <memory>

#include "platform/AutomationError.h"

namespace orv::com {

// {6D0B51E4-2A8C-4F57-9E63-1C0F7A4B2D91}
inline constexpr IID kCoreObjectLinkId = {
    0x6d0b51e4, 0x2a8c, 0x4f57, {0x9e, 0x63, 0x1c, 0x0f, 0x7a, 0x4b, 0x2d, 0x91}};

class CoreObjectLink : public IUnknown {
public:
    // The component object when this COM object publishes `publishedInterface`, else none.
    virtual std::shared_ptr<void> STDMETHODCALLTYPE CoreObject(REFIID publishedInterface) = 0;
};

// The component object of type T behind `object` (none for none); error 13 for an object
// that is not this server's object of that interface.
template <typename T>
std::shared_ptr<T> CoreObjectOf(IUnknown* object, REFIID publishedInterface) {
    if (!object) return nullptr;
    Microsoft::WRL::ComPtr<CoreObjectLink> link;
    if (FAILED(object->QueryInterface(kCoreObjectLinkId,
                                      reinterpret_cast<void**>(link.GetAddressOf()))))
        RaiseRuntimeError(kErrTypeMismatch);
    auto core = link->CoreObject(publishedInterface);
    if (!core) RaiseRuntimeError(kErrTypeMismatch);
    return std::static_pointer_cast<T>(std::move(core));
}

}  // namespace orv::com
