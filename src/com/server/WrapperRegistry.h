#pragma once
// One COM object per component object: the registry remembers, for every component object
// that has a COM object, which one it is, so that reading the same record or collection
// twice gives the same COM object (a client's `Is` holds) and a record the client added is
// the very object it reads back. Entries hold no reference: a COM object leaves the
// registry when its last reference goes.

#include <windows.h>

#include <unknwn.h>
#include <wrl/client.h>

#include <memory>

#include "com/automation/Adopt.h"

namespace orv::com {

class WrapperRegistry {
public:
    using TryAddRef = bool (*)(IUnknown*);

    // The COM object remembered for `core`, with a reference added, or null when there is
    // none (or it is being destroyed this moment).
    static IUnknown* Find(const void* core, TryAddRef tryAddRef);
    static void Remember(const void* core, IUnknown* object);
    // Forgets `object` for `core`, if it still is the one remembered.
    static void Forget(const void* core, IUnknown* object) noexcept;
};

// The COM object of `Wrapper` for `core`: the existing one, or a new one remembered from now
// on. None for none. `Wrapper` gives `Published` (its interface) and `Create`, which
// returns a new object holding one reference.
template <typename Wrapper>
Microsoft::WRL::ComPtr<typename Wrapper::Published> WrapperFor(
    const std::shared_ptr<typename Wrapper::CoreType>& core) {
    using Published = typename Wrapper::Published;
    if (!core) return nullptr;
    auto tryAddRef = [](IUnknown* object) {
        return static_cast<Wrapper*>(static_cast<typename Wrapper::Published*>(object))
            ->TryAddRef();
    };
    if (IUnknown* found = WrapperRegistry::Find(core.get(), tryAddRef))
        return Adopt(static_cast<Published*>(found));
    Wrapper* created = Wrapper::Create(core);
    WrapperRegistry::Remember(core.get(), created->Identity());
    return Adopt(static_cast<Published*>(created));
}

}  // namespace orv::com
