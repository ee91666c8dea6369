#pragma once
// The C++ wrapper of the object a property hands out, made once per COM object: while the
// property gives the same object (by COM identity), its one wrapper is handed out again,
// with the dispatch ids it has already looked up. A property that gives another object gets
// a new wrapper.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <memory>
#include <utility>

namespace orv::com {

template <typename Wrapper>
class WrapperCache {
public:
    // The wrapper of `object`, or none for none.
    std::shared_ptr<Wrapper> For(Microsoft::WRL::ComPtr<IDispatch> object) {
        if (!object) return nullptr;
        Microsoft::WRL::ComPtr<IUnknown> identity;
        // An object that will not say who it is cannot be recognised again: wrap it afresh.
        if (FAILED(object.As(&identity))) identity.Reset();
        if (!identity || identity != identity_ || !wrapper_) {
            wrapper_ = std::make_shared<Wrapper>(std::move(object));
            identity_ = std::move(identity);
        }
        return wrapper_;
    }

private:
    Microsoft::WRL::ComPtr<IUnknown> identity_;
    std::shared_ptr<Wrapper> wrapper_;
};

}  // namespace orv::com
