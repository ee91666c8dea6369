#include "com/standin/OptionGroupObject.h"

#include "com/standin/TesseraIds.h"

namespace orv::com {
namespace {

using objects::DispatchCall;

// How an option's type is read from a put and handed back by a get.
template <typename T>
struct OptionValue;

template <>
struct OptionValue<bool> {
    static bool In(const DispatchCall& call) { return call.Boolean(0); }
    static OwnedVariant Out(bool value) { return OwnedVariant::FromBoolean(value); }
};

template <>
struct OptionValue<int32_t> {
    static int32_t In(const DispatchCall& call) { return call.Long(0); }
    static OwnedVariant Out(int32_t value) { return OwnedVariant::FromLong(value); }
};

template <>
struct OptionValue<std::wstring> {
    static std::wstring In(const DispatchCall& call) { return call.String(0); }
    static OwnedVariant Out(const std::wstring& value) { return OwnedVariant::FromString(value); }
};

}  // namespace

OptionGroupObject::OptionGroupObject(REFIID interfaceId, std::shared_ptr<const void> core,
                                     std::shared_ptr<const ApplicationPresence> presence)
    : NamedDispatchObject(L"Tessapp"),
      interfaceId_(interfaceId),
      core_(std::move(core)),
      presence_(std::move(presence)) {}

template <typename T>
void OptionGroupObject::AddOption(std::wstring name, std::function<T()> get,
                                  std::function<void(T)> put) {
    AddProperty(
        std::move(name),
        [get = std::move(get)](DispatchCall& call) { call.Return(OptionValue<T>::Out(get())); },
        [put = std::move(put)](DispatchCall& call) { put(OptionValue<T>::In(call)); });
}

void* OptionGroupObject::OtherInterface(REFIID iid) {
    return iid == interfaceId_ ? static_cast<IDispatch*>(this) : nullptr;
}

// The C++ group is held by the object (core_); the handlers reach it through a plain pointer.
#define ORV_SERVE_OPTION(type, name)                              \
    object->AddOption<type>(                                      \
        L## #name, [raw]() -> type { return raw->get_##name(); }, \
        [raw](type value) { raw->put_##name(std::move(value)); });

#define ORV_GROUP_OBJECT_FOR(group, list)                                               \
    Microsoft::WRL::ComPtr<OptionGroupObject> OptionGroupObject::For(                   \
        const std::shared_ptr<Tessapp##group>& core,                                    \
        std::shared_ptr<const ApplicationPresence> presence) {                          \
        auto object = objects::MakeObject<OptionGroupObject>(kTessapp##group##Id, core, \
                                                             std::move(presence));      \
        Tessapp##group* raw = core.get();                                               \
        list(ORV_SERVE_OPTION) return object;                                           \
    }
ORV_OPTION_GROUPS(ORV_GROUP_OBJECT_FOR)
#undef ORV_GROUP_OBJECT_FOR
#undef ORV_SERVE_OPTION

}  // namespace orv::com
