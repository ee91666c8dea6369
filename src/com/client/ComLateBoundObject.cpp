#include "com/client/ComLateBoundObject.h"

#include <utility>

namespace orv::com {

ComLateBoundObject::ComLateBoundObject(Microsoft::WRL::ComPtr<IDispatch> object)
    : dispatch_(std::move(object)) {}

void ComLateBoundObject::CallMethod(const std::wstring& name) {
    dispatch_.Call(name);
}

}  // namespace orv::com
