#include "EventSink.h"

namespace orv::test {

HRESULT EventSink::Connect(IUnknown* source) {
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, &container);
    if (FAILED(hr)) return hr;
    hr = container->FindConnectionPoint(events_, &point_);
    if (FAILED(hr)) return hr;
    return point_->Advise(static_cast<IDispatch*>(this), &cookie_);
}

HRESULT EventSink::Disconnect() {
    if (!point_) return E_UNEXPECTED;
    const HRESULT hr = point_->Unadvise(cookie_);
    point_.Reset();
    return hr;
}

HRESULT STDMETHODCALLTYPE EventSink::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, events_)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE EventSink::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EventSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                            VARIANT*, EXCEPINFO*, UINT*) {
    if (id != 1 || !(flags & DISPATCH_METHOD) || !params || params->cArgs != 1)
        return DISP_E_MEMBERNOTFOUND;
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, &params->rgvarg[0], 0, VT_I4)))
        return DISP_E_TYPEMISMATCH;
    received.push_back(V_I4(&number));
    return S_OK;
}

}  // namespace orv::test
