#pragma once
// The COM object that receives Tessera's batch event: an IDispatch for the event interface
// {55548DC1-F086-11D4-814F-00C04F30129B}, whose OnBatchCancelledByUser(ProcessedFiles As
// Long) has dispatch id 1. Each event calls the handler on the thread the event arrives on
// (the apartment's), before Invoke returns.
//
// The application may keep the sink after its owner has gone (a server that never
// unadvises, or one that fires late): the owner detaches it first, and a detached sink
// accepts events and does nothing.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <functional>

namespace orv::com {

extern const IID kTesseraBatchEventsInterfaceId;

class BatchEventSink final : public IDispatch {
public:
    using Handler = std::function<void(int32_t processedFiles)>;

    // A new sink, its first reference the caller's.
    static Microsoft::WRL::ComPtr<BatchEventSink> Create(Handler handler);

    BatchEventSink(const BatchEventSink&) = delete;
    BatchEventSink& operator=(const BatchEventSink&) = delete;

    // No event reaches the handler after this returns.
    void Detach() noexcept { handler_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

private:
    explicit BatchEventSink(Handler handler) : handler_(std::move(handler)) {}
    ~BatchEventSink() = default;

    Handler handler_;
    std::atomic<ULONG> references_{1};
};

}  // namespace orv::com
