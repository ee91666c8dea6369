#pragma once
// A client's sink for the one event of the component's event interfaces: counts the calls
// and keeps the numbers they carried, as a compiled client's handler would.

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <vector>

#include "ServerUnderTest.h"

namespace orv::test {

class EventSink final : public IDispatch {
public:
    explicit EventSink(REFIID events) : events_(events) {}

    // Connects to the object's point for the sink's interface; the result of Advise.
    HRESULT Connect(IUnknown* source);
    HRESULT Disconnect();

    std::vector<int32_t> received;  // ProcessedFiles of each call, in order
    ULONG references = 1;           // the test owns the sink on its stack

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT*, EXCEPINFO*, UINT*) override;

private:
    IID events_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace orv::test
