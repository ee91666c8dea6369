#pragma once
// An IDispatch answered by name from a table of members (a name, and handlers for get, put
// or call), with no type library: what an application reached only late-bound publishes.
// Invoke is as strict as a type library's: a getter needs DISPATCH_PROPERTYGET, a method
// DISPATCH_METHOD, a put DISPATCH_PROPERTYPUT with its value as the named argument
// DISPID_PROPERTYPUT; anything else is refused with the status COM gives.
//
// A handler fails by throwing DispatchError (a bare status or an automation exception) or
// AutomationError, which the caller sees with its number, source and description (the
// object's own source when the error has none). An object that reports itself Disconnected
// (an application that has quit, and its children) answers every call with
// RPC_E_DISCONNECTED, as a server process that has gone does.
//
// Objects start with one reference, which the creator takes over (MakeObject below), and
// count in ModuleLifetime while they live. Apartment-threaded: calls arrive on the creating
// thread.

#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "com/automation/Adopt.h"
#include "com/objects/DispatchCall.h"

namespace orv::com::objects {

class NamedDispatchObject : public IDispatch {
public:
    NamedDispatchObject(const NamedDispatchObject&) = delete;
    NamedDispatchObject& operator=(const NamedDispatchObject&) = delete;

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

protected:
    using Handler = std::function<void(DispatchCall&)>;

    // `errorSource` is the source of the errors it raises that name none of their own.
    explicit NamedDispatchObject(std::wstring errorSource);
    virtual ~NamedDispatchObject();

    void AddMethod(std::wstring name, Handler call);
    void AddProperty(std::wstring name, Handler get, Handler put = {});

    // Called once a call has been found well-formed, right before its handler, with the
    // member's name ("Open", or "Name=" for a put); it may throw as a handler does.
    virtual void BeforeCall(const std::wstring& call);
    // Another interface of the object besides IUnknown and IDispatch, or nullptr.
    virtual void* OtherInterface(REFIID iid);
    virtual bool Disconnected() const { return false; }
    // Type information for GetTypeInfo, or nullptr for none (the default).
    virtual ITypeInfo* TypeInfo() { return nullptr; }

private:
    struct Member {
        std::wstring name;
        Handler get;
        Handler put;
        Handler call;
    };
    const Member* FindMember(DISPID id) const;
    void InvokeMember(const Member& member, WORD flags, const DISPPARAMS& parameters,
                      VARIANT* result);

    std::wstring errorSource_;
    std::vector<Member> members_;
    std::atomic<ULONG> references_{1};
};

// A new object, its first reference taken over.
template <typename T, typename... Args>
Microsoft::WRL::ComPtr<T> MakeObject(Args&&... args) {
    return Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace orv::com::objects
