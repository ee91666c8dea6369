#pragma once
// The class object of one class of a by-name server. Class objects are static and live as
// long as the DLL: reference counting does nothing, LockServer keeps the DLL loaded.

#include <unknwn.h>

namespace orv::com::objects {

class ClassFactory final : public IClassFactory {
public:
    using Creator = HRESULT (*)(REFIID iid, void** object);
    explicit constexpr ClassFactory(Creator create) noexcept : create_(create) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    Creator create_;
};

}  // namespace orv::com::objects
