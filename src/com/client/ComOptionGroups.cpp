#include "com/client/ComOptionGroups.h"

#include <utility>

namespace orv::com {

#define ORV_COM_GROUP_CONSTRUCTOR(group, list)                       \
    Com##group::Com##group(Microsoft::WRL::ComPtr<IDispatch> object) \
        : dispatch_(std::move(object)) {}
ORV_OPTION_GROUPS(ORV_COM_GROUP_CONSTRUCTOR)
#undef ORV_COM_GROUP_CONSTRUCTOR

}  // namespace orv::com
