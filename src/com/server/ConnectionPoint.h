#pragma once
// The outgoing event interface of one published object: clients connect their sinks with
// IConnectionPoint::Advise, and the object raises an event by calling every connected sink
// through IDispatch. The point lives inside its object and shares the object's reference
// count, so a client holding the point keeps the object alive.

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace orv::com {

class ConnectionPoint final : public IConnectionPoint {
public:
    // `owner` is the object's IUnknown and IConnectionPointContainer; `events` the event
    // interface's id.
    ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID events)
        : owner_(owner), container_(container), events_(events) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    // Calls `dispid` with one Long argument on every sink connected when it starts, in the
    // order they connected. A sink that fails or disconnects meanwhile does not stop the
    // others, and its failure does not reach the component.
    void RaiseWithLong(DISPID dispid, int32_t value) noexcept;

    REFIID events() const noexcept { return events_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    IUnknown* owner_;
    IConnectionPointContainer* container_;
    IID events_;
    DWORD nextCookie_ = 1;
    std::vector<std::pair<DWORD, Microsoft::WRL::ComPtr<IDispatch>>> sinks_;
};

// IConnectionPointContainer::EnumConnectionPoints for an object with one point.
HRESULT EnumerateOnePoint(IConnectionPoint* point, IEnumConnectionPoints** points) noexcept;

}  // namespace orv::com
