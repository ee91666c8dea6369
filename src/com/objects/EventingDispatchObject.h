#pragma once
// A by-name object (NamedDispatchObject or a class derived from it, `Base`) with one event
// dispinterface: its connection point container with the point of that interface. An object
// that has gone (Disconnected) hands out no point.

#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <utility>

#include "com/objects/ConnectionPoint.h"

namespace orv::com::objects {

template <typename Base>
class EventingDispatchObject : public Base, public IConnectionPointContainer {
public:
    // One IUnknown for both bases.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Base::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
        if (!points) return E_POINTER;
        *points = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (!point) return E_POINTER;
        *point = nullptr;
        if (this->Disconnected()) return RPC_E_DISCONNECTED;
        IID events{};
        events_.GetConnectionInterface(&events);
        if (iid != events) return CONNECT_E_NOCONNECTION;
        *point = &events_;
        events_.AddRef();
        return S_OK;
    }

protected:
    // `onChange` hears every change in the number of connections (ConnectionPoint); the
    // remaining arguments go to Base.
    template <typename... BaseArguments>
    EventingDispatchObject(REFIID eventInterface, std::function<void(int)> onChange,
                           BaseArguments&&... baseArguments)
        : Base(std::forward<BaseArguments>(baseArguments)...),
          events_(static_cast<IDispatch&>(*this), *this, eventInterface, std::move(onChange)) {}

    // IConnectionPointContainer, then the derived class's further interfaces.
    void* OtherInterface(REFIID iid) override {
        if (iid == IID_IConnectionPointContainer)
            return static_cast<IConnectionPointContainer*>(this);
        return MoreInterfaces(iid);
    }
    virtual void* MoreInterfaces(REFIID) { return nullptr; }

    ConnectionPoint& events() noexcept { return events_; }

private:
    ConnectionPoint events_;
};

}  // namespace orv::com::objects
