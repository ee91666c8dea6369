#include "com/objects/ConnectionPoint.h"

#include <cguid.h>
#include <olectl.h>

#include <vector>

namespace orv::com::objects {

ConnectionPoint::ConnectionPoint(IUnknown& owner, IConnectionPointContainer& container,
                                 REFIID eventInterface, std::function<void(int)> onChange)
    : owner_(owner),
      container_(container),
      eventInterface_(eventInterface),
      onChange_(std::move(onChange)) {}

ConnectionPoint::~ConnectionPoint() {
    DisconnectAll();
}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = eventInterface_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    Microsoft::WRL::ComPtr<IUnknown> events;
    if (FAILED(
            sink->QueryInterface(eventInterface_, reinterpret_cast<void**>(events.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    // An event dispinterface has IDispatch's table.
    Microsoft::WRL::ComPtr<IDispatch> dispatch(static_cast<IDispatch*>(events.Get()));
    *cookie = nextCookie_++;
    sinks_.emplace(*cookie, std::move(dispatch));
    if (onChange_) onChange_(1);
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    auto found = sinks_.find(cookie);
    if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
    // Taken out before it is released: the sink's last release may call back into us.
    Microsoft::WRL::ComPtr<IDispatch> sink = std::move(found->second);
    sinks_.erase(found);
    if (onChange_) onChange_(-1);
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (!connections) return E_POINTER;
    *connections = nullptr;
    return E_NOTIMPL;
}

void ConnectionPoint::Fire(DISPID dispatchId, int32_t argument, bool byReference) {
    // A sink may unadvise, or advise another, while it is called.
    std::vector<Microsoft::WRL::ComPtr<IDispatch>> sinks;
    for (const auto& [cookie, sink] : sinks_) sinks.push_back(sink);
    for (const auto& sink : sinks) {
        LONG referenced = argument;
        VARIANT value;
        VariantInit(&value);
        if (byReference) {
            value.vt = VT_BYREF | VT_I4;
            value.plVal = &referenced;
        } else {
            value.vt = VT_I4;
            value.lVal = argument;
        }
        DISPPARAMS parameters{&value, nullptr, 1, 0};
        sink->Invoke(dispatchId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                     nullptr, nullptr, nullptr);
    }
}

void ConnectionPoint::DisconnectAll() {
    auto sinks = std::move(sinks_);
    sinks_.clear();
    if (onChange_ && !sinks.empty()) onChange_(-static_cast<int>(sinks.size()));
}

}  // namespace orv::com::objects
