#include "com/client/EventConnection.h"

#include <utility>

namespace orv::com {

EventConnection::EventConnection(IUnknown* source, REFIID eventInterface, IUnknown* sink) noexcept {
    if (!source || !sink) return;
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    if (FAILED(source->QueryInterface(IID_PPV_ARGS(&container)))) return;
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(eventInterface, &point)) || !point) return;
    DWORD cookie = 0;
    if (FAILED(point->Advise(sink, &cookie)) || cookie == 0) return;
    point_ = std::move(point);
    cookie_ = cookie;
}

EventConnection::EventConnection(EventConnection&& other) noexcept
    : point_(std::move(other.point_)), cookie_(std::exchange(other.cookie_, 0)) {}

EventConnection& EventConnection::operator=(EventConnection&& other) noexcept {
    if (this != &other) {
        Reset();
        point_ = std::move(other.point_);
        cookie_ = std::exchange(other.cookie_, 0);
    }
    return *this;
}

void EventConnection::Reset() noexcept {
    // Cleared first: the sink's release inside Unadvise may reach code that resets again.
    const DWORD cookie = std::exchange(cookie_, 0);
    auto point = std::move(point_);
    if (cookie && point) point->Unadvise(cookie);
}

}  // namespace orv::com
