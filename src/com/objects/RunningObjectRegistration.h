#pragma once
// An object's entry in the running object table, as an application registers itself when it
// starts: strong (the table holds a reference until the entry is revoked), revoked when the
// owner goes. Move-only.

#include <windows.h>

namespace orv::com::objects {

class RunningObjectRegistration {
public:
    RunningObjectRegistration() = default;
    // Registers `object` as the running instance of `classId`; an inactive registration
    // when the table refuses it (the object then simply cannot be looked up).
    static RunningObjectRegistration Register(IUnknown* object, REFCLSID classId) noexcept;

    RunningObjectRegistration(RunningObjectRegistration&& other) noexcept;
    RunningObjectRegistration& operator=(RunningObjectRegistration&& other) noexcept;
    RunningObjectRegistration(const RunningObjectRegistration&) = delete;
    RunningObjectRegistration& operator=(const RunningObjectRegistration&) = delete;
    ~RunningObjectRegistration() { Revoke(); }

    // Ends the entry. The table lets go of its reference, which may be the object's last.
    void Revoke() noexcept;
    bool active() const noexcept { return cookie_ != 0; }

private:
    DWORD cookie_ = 0;
};

}  // namespace orv::com::objects
