#pragma once
// Tessera's seven option groups reached by COM, one class per group (ComGeneralOptions,
// ...), generated from the component's own lists so that no property can be missed or
// misspelt in one place only. Each property is a late-bound get or put by its name.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include "com/client/LateBoundDispatch.h"
#include "com/client/VariantValues.h"
#include "tessera/TessappOptions.h"

namespace orv::com {

#define ORV_COM_OPTION(type, name)                             \
    type get_##name() const override {                         \
        return ValueAs<type>(*dispatch_.Get(L## #name).get()); \
    }                                                          \
    void put_##name(type vData) override {                     \
        dispatch_.Put(L## #name, VariantFrom(vData));          \
    }

#define ORV_COM_OPTION_GROUP(group, list)                              \
    class Com##group final : public Tessapp##group {                   \
    public:                                                            \
        explicit Com##group(Microsoft::WRL::ComPtr<IDispatch> object); \
        list(ORV_COM_OPTION)                                           \
                                                                       \
            private : LateBoundDispatch dispatch_;                     \
    };
ORV_OPTION_GROUPS(ORV_COM_OPTION_GROUP)
#undef ORV_COM_OPTION_GROUP
#undef ORV_COM_OPTION

}  // namespace orv::com
