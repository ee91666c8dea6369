#include "com/client/BatchEventSink.h"

#include <oleauto.h>

#include <cwchar>
#include <new>

#include "com/automation/Adopt.h"
#include "com/automation/ComError.h"
#include "com/automation/ComText.h"
#include "platform/AutomationError.h"

namespace orv::com {

// {55548DC1-F086-11D4-814F-00C04F30129B}
const IID kTesseraBatchEventsInterfaceId = {
    0x55548DC1, 0xF086, 0x11D4, {0x81, 0x4F, 0x00, 0xC0, 0x4F, 0x30, 0x12, 0x9B}};

namespace {

constexpr DISPID kOnBatchCancelledByUser = 1;

void FillException(EXCEPINFO* exception, const AutomationError& error) {
    if (!exception) return;
    *exception = EXCEPINFO{};
    exception->scode = HresultFromErrorNumber(error.number());
    exception->bstrSource = SysAllocString(error.source().c_str());
    exception->bstrDescription = SysAllocString(error.description().c_str());
}

}  // namespace

Microsoft::WRL::ComPtr<BatchEventSink> BatchEventSink::Create(Handler handler) {
    return Adopt(new BatchEventSink(std::move(handler)));
}

HRESULT BatchEventSink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != kTesseraBatchEventsInterfaceId) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG BatchEventSink::AddRef() {
    return ++references_;
}

ULONG BatchEventSink::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT BatchEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT BatchEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT BatchEventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (_wcsicmp(names[0], L"OnBatchCancelledByUser") != 0) return DISP_E_UNKNOWNNAME;
    ids[0] = kOnBatchCancelledByUser;
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT BatchEventSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (id != kOnBatchCancelledByUser) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (!parameters) return E_INVALIDARG;
    if (parameters->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (result) VariantInit(result);
    // An application written in a Basic passes its Long by reference; read through it.
    OwnedVariant direct, processedFiles;
    HRESULT hr = VariantCopyInd(direct.out(), &parameters->rgvarg[0]);
    if (SUCCEEDED(hr)) hr = VariantChangeType(processedFiles.out(), direct.get(), 0, VT_I4);
    if (FAILED(hr)) {
        if (argumentError) *argumentError = 0;
        return DISP_E_TYPEMISMATCH;
    }
    // Held for the call: a subscriber may end the subscription, and detach this sink, while
    // it runs; the sink itself lives on in the caller's reference.
    const Handler handler = handler_;
    if (!handler) return S_OK;
    try {
        handler(processedFiles.get()->lVal);
        return S_OK;
    } catch (const AutomationError& error) {
        FillException(exception, error);
        return exception ? DISP_E_EXCEPTION : E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace orv::com
