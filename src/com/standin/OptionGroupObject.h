#pragma once
// One of Tessera's option groups served by name: each property of the group's list
// (TessappOptions.h) as a get and a put, in the list's types; a put reaches the C++ group at
// once. One For() a group makes the object from the group's own list, so that a property
// added to a list is served with no change here.

#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>

#include "com/objects/NamedDispatchObject.h"
#include "com/standin/ApplicationPresence.h"
#include "tessera/TessappOptions.h"

namespace orv::com {

class OptionGroupObject final : public objects::NamedDispatchObject {
public:
#define ORV_GROUP_OBJECT_FOR(group, list)                 \
    static Microsoft::WRL::ComPtr<OptionGroupObject> For( \
        const std::shared_ptr<Tessapp##group>& core,      \
        std::shared_ptr<const ApplicationPresence> presence);
    ORV_OPTION_GROUPS(ORV_GROUP_OBJECT_FOR)
#undef ORV_GROUP_OBJECT_FOR

    // `core` is the C++ group, kept alive; `interfaceId` the group's published interface.
    OptionGroupObject(REFIID interfaceId, std::shared_ptr<const void> core,
                      std::shared_ptr<const ApplicationPresence> presence);

    // The C++ group this object serves.
    const void* core() const noexcept {
        return core_.get();
    }

protected:
    void* OtherInterface(REFIID iid) override;
    bool Disconnected() const override {
        return presence_->quit;
    }

private:
    template <typename T>
    void AddOption(std::wstring name, std::function<T()> get, std::function<void(T)> put);

    IID interfaceId_;
    std::shared_ptr<const void> core_;
    std::shared_ptr<const ApplicationPresence> presence_;
};

}  // namespace orv::com
