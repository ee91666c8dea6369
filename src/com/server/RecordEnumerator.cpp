#include "com/server/RecordEnumerator.h"

#include <new>

#include "com/automation/ComError.h"
#include "com/server/FileInfoObject.h"
#include "com/server/ServerModule.h"

namespace orv::com {

IUnknown* RecordEnumerator::Create(std::vector<std::shared_ptr<clsBAFileInfo>> records) {
    auto shared =
        std::make_shared<const std::vector<std::shared_ptr<clsBAFileInfo>>>(std::move(records));
    return static_cast<IEnumVARIANT*>(new RecordEnumerator(std::move(shared), 0));
}

RecordEnumerator::RecordEnumerator(Records records, std::size_t position)
    : records_(std::move(records)), position_(position) {
    ServerModule::Lock();
}

RecordEnumerator::~RecordEnumerator() {
    ServerModule::Unlock();
}

HRESULT STDMETHODCALLTYPE RecordEnumerator::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumVARIANT)) {
        *object = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordEnumerator::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE RecordEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched) {
    if (!items || (count > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    try {
        while (given < count && position_ < records_->size()) {
            auto record = WrapperFor<FileInfoObject>((*records_)[position_]);
            VariantInit(&items[given]);
            V_VT(&items[given]) = VT_DISPATCH;
            V_DISPATCH(&items[given]) = record.Detach();
            ++given;
            ++position_;
        }
    } catch (...) {
        // What was handed out is taken back: the caller owns nothing of a failed call.
        for (ULONG i = 0; i < given; ++i) VariantClear(&items[i]);
        if (fetched) *fetched = 0;
        position_ -= given;
        return ReportCurrentException(IID_IEnumVARIANT);
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE RecordEnumerator::Skip(ULONG count) {
    const std::size_t left = records_->size() - position_;
    if (count > left) {
        position_ = records_->size();
        return S_FALSE;
    }
    position_ += count;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordEnumerator::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordEnumerator::Clone(IEnumVARIANT** copy) {
    if (!copy) return E_POINTER;
    *copy = new (std::nothrow) RecordEnumerator(records_, position_);
    return *copy ? S_OK : E_OUTOFMEMORY;
}

}  // namespace orv::com
