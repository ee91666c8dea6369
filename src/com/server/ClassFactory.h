#pragma once
// The class factory of one creatable class. No aggregation: the objects' identity is
// their own.

#include <windows.h>

#include <unknwn.h>

#include <atomic>

#include "com/server/ServerClasses.h"

namespace orv::com {

class ClassFactory final : public IClassFactory {
public:
    // A new factory with one reference.
    explicit ClassFactory(const ServerClass& serverClass) : class_(serverClass) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    std::atomic<ULONG> references_{1};
    const ServerClass& class_;
};

}  // namespace orv::com
