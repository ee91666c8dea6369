#pragma once
// One sink connected to one event interface of a source object (IConnectionPoint::Advise),
// for as long as this owner lives: destruction, Reset and move-assignment unadvise. Move-only.
// A source without that connection point gives an inactive connection, not an error: such
// an object can still be driven, it just raises no events.

#include <windows.h>

#include <ocidl.h>
#include <wrl/client.h>

namespace orv::com {

class EventConnection {
public:
    EventConnection() = default;
    EventConnection(IUnknown* source, REFIID eventInterface, IUnknown* sink) noexcept;
    EventConnection(EventConnection&& other) noexcept;
    EventConnection& operator=(EventConnection&& other) noexcept;
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    ~EventConnection() { Reset(); }

    // Unadvises; a source that has gone or no longer knows the connection is let go all the
    // same.
    void Reset() noexcept;
    bool active() const noexcept { return cookie_ != 0; }

private:
    Microsoft::WRL::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace orv::com
