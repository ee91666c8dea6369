#pragma once
// A published object with events: its connection point container with the one point of
// its event interface, and IProvideClassInfo, by which clients find the event interface
// from the object alone.

#include <ocidl.h>
#include <olectl.h>

#include "com/server/AutomationObject.h"
#include "com/server/ConnectionPoint.h"

namespace orv::com {

template <typename Interface, typename Core>
class EventingObject : public AutomationObject<Interface, Core>,
                       public IConnectionPointContainer,
                       public IProvideClassInfo {
    using Base = AutomationObject<Interface, Core>;

public:
    // One IUnknown for all the bases.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Base::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
        return EnumerateOnePoint(&point_, points);
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (!point) return E_POINTER;
        *point = nullptr;
        if (!IsEqualIID(iid, point_.events())) return CONNECT_E_NOCONNECTION;
        point_.AddRef();
        *point = &point_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
        return TypeLibrary::TypeInfoOf(coclass_, info);
    }

protected:
    EventingObject(std::shared_ptr<Core> core, REFIID events, REFCLSID coclass)
        : Base(std::move(core)),
          point_(this->Identity(), static_cast<IConnectionPointContainer*>(this), events),
          coclass_(coclass) {}

    void* QueryMore(REFIID iid) override {
        if (IsEqualIID(iid, IID_IConnectionPointContainer))
            return static_cast<IConnectionPointContainer*>(this);
        if (IsEqualIID(iid, IID_IProvideClassInfo)) return static_cast<IProvideClassInfo*>(this);
        return nullptr;
    }

    // Raises the event interface's one event (dispatch id 1) with the number.
    void RaiseEvent(int32_t value) noexcept { point_.RaiseWithLong(1, value); }

private:
    ConnectionPoint point_;
    CLSID coclass_;
};

}  // namespace orv::com
