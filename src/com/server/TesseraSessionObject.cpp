#include "com/server/TesseraSessionObject.h"

#include "com/server/ComValue.h"

namespace orv::com {

TesseraSessionObject::TesseraSessionObject(std::shared_ptr<clsBATessera> core)
    : EventingObject(std::move(core), DIID___clsBATessera, CLSID_clsBATessera) {
    cancelled_ = this->core().OnBatchCancelledByUser.Subscribe(
        [this](int32_t processedFiles) { RaiseEvent(processedFiles); });
}

HRESULT STDMETHODCALLTYPE TesseraSessionObject::CloseTessera(VARIANT_BOOL* closed) {
    if (!closed) return E_POINTER;
    return Guarded([&] { *closed = ComValue<bool>::Out(core().CloseTessera()); });
}

HRESULT STDMETHODCALLTYPE TesseraSessionObject::StartTessera(VARIANT_BOOL* started) {
    if (!started) return E_POINTER;
    return Guarded([&] { *started = ComValue<bool>::Out(core().StartTessera()); });
}

}  // namespace orv::com
