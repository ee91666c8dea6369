#pragma once
// The connection point of one event dispinterface. It is part of its owner: AddRef and
// Release go to the owner (so the owner lives while a client holds the point), while
// QueryInterface answers for the point itself. A sink is accepted only if it answers
// QueryInterface for the event interface, as a connection point must insist.

#include <ocidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <map>

namespace orv::com::objects {

class ConnectionPoint final : public IConnectionPoint {
public:
    // `onChange` hears every change in the number of connections (+1, -1, -n).
    ConnectionPoint(IUnknown& owner, IConnectionPointContainer& container, REFIID eventInterface,
                    std::function<void(int)> onChange);
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    // Calls `dispatchId` on every sink connected now, with one Long argument (by reference
    // when asked, as an application written in a Basic passes it); what a sink answers is
    // ignored, as an application firing an event ignores it.
    void Fire(DISPID dispatchId, int32_t argument, bool byReference);
    // Drops every connection, as the end of the application does.
    void DisconnectAll();

private:
    IUnknown& owner_;
    IConnectionPointContainer& container_;
    IID eventInterface_;
    std::function<void(int)> onChange_;
    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace orv::com::objects
