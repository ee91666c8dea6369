#pragma once
// The enumerator behind For Each over Files: the records as they stood when the loop
// began, each handed out as its one COM object.

#include <windows.h>

#include <oaidl.h>

#include <atomic>
#include <memory>
#include <vector>

#include "results/clsBAFileInfo.h"

namespace orv::com {

class RecordEnumerator final : public IEnumVARIANT {
public:
    using Records = std::shared_ptr<const std::vector<std::shared_ptr<clsBAFileInfo>>>;

    // A new enumerator with one reference, as IUnknown.
    static IUnknown* Create(std::vector<std::shared_ptr<clsBAFileInfo>> records);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    RecordEnumerator(Records records, std::size_t position);
    ~RecordEnumerator();

    std::atomic<ULONG> references_{1};
    Records records_;
    std::size_t position_;
};

}  // namespace orv::com
