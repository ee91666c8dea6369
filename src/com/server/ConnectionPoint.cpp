#include "com/server/ConnectionPoint.h"

#include <atomic>
#include <new>

#include "com/server/ServerModule.h"

namespace orv::com {

HRESULT STDMETHODCALLTYPE ConnectionPoint::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = events_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    container_->AddRef();
    *container = container_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    // A sink implements the event interface, which is a dispatch interface; one that only
    // answers IDispatch is called the same way.
    Microsoft::WRL::ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch,
                                    reinterpret_cast<void**>(dispatch.GetAddressOf())))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    try {
        sinks_.emplace_back(nextCookie_, std::move(dispatch));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto sink = sinks_.begin(); sink != sinks_.end(); ++sink) {
        if (sink->first == cookie) {
            // Released after it is out of the list: its release may call back into us.
            auto released = std::move(sink->second);
            sinks_.erase(sink);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

void ConnectionPoint::RaiseWithLong(DISPID dispid, int32_t value) noexcept {
    std::vector<std::pair<DWORD, Microsoft::WRL::ComPtr<IDispatch>>> snapshot;
    try {
        snapshot = sinks_;
    } catch (...) {
        return;
    }
    // The owner stays alive while its sinks run, even when one of them lets go of it.
    Microsoft::WRL::ComPtr<IUnknown> keepAlive(owner_);
    for (const auto& [cookie, sink] : snapshot) {
        bool connected = false;
        for (const auto& current : sinks_) connected = connected || current.first == cookie;
        if (!connected) continue;
        VARIANT argument;
        VariantInit(&argument);
        V_VT(&argument) = VT_I4;
        V_I4(&argument) = value;
        DISPPARAMS params{&argument, nullptr, 1, 0};
        sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                     nullptr, nullptr);
    }
}

namespace {

class OnePointEnumerator final : public IEnumConnectionPoints {
public:
    OnePointEnumerator(IConnectionPoint* point, ULONG position)
        : point_(point), position_(position) {
        ServerModule::Lock();
    }
    ~OnePointEnumerator() { ServerModule::Unlock(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumConnectionPoints)) {
            *object = static_cast<IEnumConnectionPoints*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points,
                                   ULONG* fetched) override {
        if (!points || (count > 1 && !fetched)) return E_POINTER;
        ULONG given = 0;
        if (count > 0 && position_ == 0) {
            point_->AddRef();
            points[0] = point_.Get();
            position_ = given = 1;
        }
        if (fetched) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const bool enough = count == 0 || position_ == 0;
        if (count > 0) position_ = 1;
        return count <= 1 && enough ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override {
        if (!copy) return E_POINTER;
        *copy = new (std::nothrow) OnePointEnumerator(point_.Get(), position_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::atomic<ULONG> references_{1};
    Microsoft::WRL::ComPtr<IConnectionPoint> point_;
    ULONG position_;
};

}  // namespace

HRESULT EnumerateOnePoint(IConnectionPoint* point, IEnumConnectionPoints** points) noexcept {
    if (!points) return E_POINTER;
    *points = new (std::nothrow) OnePointEnumerator(point, 0);
    return *points ? S_OK : E_OUTOFMEMORY;
}

}  // namespace orv::com
