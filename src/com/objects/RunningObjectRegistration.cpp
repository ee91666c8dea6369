#include "com/objects/RunningObjectRegistration.h"

#include <oleauto.h>

#include <utility>

namespace orv::com::objects {

RunningObjectRegistration RunningObjectRegistration::Register(IUnknown* object,
                                                              REFCLSID classId) noexcept {
    RunningObjectRegistration registration;
    DWORD cookie = 0;
    const HRESULT hr = RegisterActiveObject(object, classId, ACTIVEOBJECT_STRONG, &cookie);
    if (SUCCEEDED(hr)) registration.cookie_ = cookie;
    return registration;
}

RunningObjectRegistration::RunningObjectRegistration(RunningObjectRegistration&& other) noexcept
    : cookie_(std::exchange(other.cookie_, 0)) {}

RunningObjectRegistration& RunningObjectRegistration::operator=(
    RunningObjectRegistration&& other) noexcept {
    if (this != &other) {
        Revoke();
        cookie_ = std::exchange(other.cookie_, 0);
    }
    return *this;
}

void RunningObjectRegistration::Revoke() noexcept {
    // Cleared first: revoking may release the owner, whose destructor revokes again.
    if (const DWORD cookie = std::exchange(cookie_, 0)) RevokeActiveObject(cookie, nullptr);
}

}  // namespace orv::com::objects
