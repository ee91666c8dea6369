#include "com/server/BatchAnalyseObject.h"

#include "com/server/ComValue.h"
#include "com/server/CoreObjectLink.h"
#include "com/server/FilesObject.h"
#include "com/server/TesseraSessionObject.h"
#include "com/server/TesseraSettingsObject.h"

namespace orv::com {

namespace {

// Hands out the one COM object of a child; the caller owns the reference.
template <typename Wrapper, typename Core>
HRESULT GiveOut(const std::shared_ptr<Core>& child, typename Wrapper::Published** out) {
    *out = WrapperFor<Wrapper>(child).Detach();
    return S_OK;
}

}  // namespace

BatchAnalyseObject::BatchAnalyseObject(std::shared_ptr<BatchAnalyse> core)
    : EventingObject(std::move(core), DIID___BatchAnalyse, CLSID_BatchAnalyse) {
    cancelled_ = this->core().OnBatchAnalysisCancelledByUser.Subscribe(
        [this](int32_t processedFiles) { RaiseEvent(processedFiles); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::get_Files(_Files** files) {
    if (!files) return E_POINTER;
    *files = nullptr;
    return Guarded([&] { GiveOut<FilesObject>(core().get_Files(), files); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::putref_Files(_Files* vData) {
    return Guarded([&] { core().putref_Files(CoreObjectOf<Files>(vData, IID__Files)); });
}

HRESULT STDMETHODCALLTYPE
BatchAnalyseObject::get_BATesserasettings(_clsBATesseraSettings** settings) {
    if (!settings) return E_POINTER;
    *settings = nullptr;
    return Guarded(
        [&] { GiveOut<TesseraSettingsObject>(core().get_BATesserasettings(), settings); });
}

HRESULT STDMETHODCALLTYPE
BatchAnalyseObject::putref_BATesserasettings(_clsBATesseraSettings* vData) {
    return Guarded([&] {
        core().putref_BATesserasettings(
            CoreObjectOf<clsBATesseraSettings>(vData, IID__clsBATesseraSettings));
    });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::get_BATessera(_clsBATessera** session) {
    if (!session) return E_POINTER;
    *session = nullptr;
    return Guarded([&] { GiveOut<TesseraSessionObject>(core().get_BATessera(), session); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::putref_BATessera(_clsBATessera* vData) {
    return Guarded(
        [&] { core().putref_BATessera(CoreObjectOf<clsBATessera>(vData, IID__clsBATessera)); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::Analyse(VARIANT_BOOL* analysed) {
    if (!analysed) return E_POINTER;
    // Held for the call: the client may let go of its last reference from an event sink.
    Microsoft::WRL::ComPtr<IUnknown> keepAlive(Identity());
    return Guarded([&] { *analysed = ComValue<bool>::Out(core().Analyse()); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::CloseTessera(VARIANT_BOOL* closed) {
    if (!closed) return E_POINTER;
    return Guarded([&] { *closed = ComValue<bool>::Out(core().CloseTessera()); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::StartTessera(VARIANT_BOOL* started) {
    if (!started) return E_POINTER;
    return Guarded([&] { *started = ComValue<bool>::Out(core().StartTessera()); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::GetLogFileContent(BSTR* content) {
    if (!content) return E_POINTER;
    return Guarded([&] { *content = ComValue<std::wstring>::Out(core().GetLogFileContent()); });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::GetCsvLogFileContentWithoutHeader(BSTR* content) {
    if (!content) return E_POINTER;
    return Guarded([&] {
        *content = ComValue<std::wstring>::Out(core().GetCsvLogFileContentWithoutHeader());
    });
}

HRESULT STDMETHODCALLTYPE BatchAnalyseObject::GetCsvLogFileContent(BSTR* content) {
    if (!content) return E_POINTER;
    return Guarded([&] { *content = ComValue<std::wstring>::Out(core().GetCsvLogFileContent()); });
}

}  // namespace orv::com
