#pragma once
// The by-name IDispatch every double is built on: a table of members (name, and handlers
// for get, put or call) answers GetIDsOfNames and Invoke, with no type library. Invoke is as
// strict as a type library's: a getter needs DISPATCH_PROPERTYGET, a method
// DISPATCH_METHOD, a put DISPATCH_PROPERTYPUT with its value as the named argument
// DISPID_PROPERTYPUT; anything else is refused with the status COM gives.
//
// An instrumented object also records each call in the doubles' state and fails it when the
// test asked for that (see DoublesState). An object that reports itself Disconnected (an
// application that has quit, and its children) answers every call with
// RPC_E_DISCONNECTED, as a server process that has gone does.
//
// Objects start with one reference, which the creator takes over (MakeObject below).
// Apartment-threaded: calls arrive on the creating thread.

#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "DispatchCall.h"

namespace orv::testdoubles {

class DispatchObject : public IDispatch {
public:
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

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

    const std::wstring& objectName() const noexcept { return objectName_; }

protected:
    using Handler = std::function<void(DispatchCall&)>;

    // `objectName` names the object in the call record and in a qualified FailMember
    // ("TM.Open"); `errorSource` is the source of the errors it raises.
    DispatchObject(std::wstring objectName, std::wstring errorSource, bool instrumented = true);
    virtual ~DispatchObject();

    void AddMethod(std::wstring name, Handler call);
    void AddProperty(std::wstring name, Handler get, Handler put = {});
    // The member decides itself when an injected failure strikes (FailIfAsked).
    void MarkOwnFailurePoint(const std::wstring& name);
    // Throws the failure the test asked for on `member`, if any.
    void FailIfAsked(const std::wstring& member) const;

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
        bool ownFailurePoint = false;
    };
    const Member* FindMember(DISPID id) const;
    void InvokeMember(const Member& member, WORD flags, const DISPPARAMS& parameters,
                      VARIANT* result);

    std::wstring objectName_;
    std::wstring errorSource_;
    bool instrumented_;
    std::vector<Member> members_;
    std::atomic<ULONG> references_{1};
};

// A new object of a double, its first reference taken over. Not ComPtr::Attach: MinGW-w64's
// adds a reference of its own, and every object made with it would leak.
template <typename T, typename... Args>
Microsoft::WRL::ComPtr<T> MakeObject(Args&&... args) {
    Microsoft::WRL::ComPtr<T> object;
    *object.GetAddressOf() = new T(std::forward<Args>(args)...);
    return object;
}

}  // namespace orv::testdoubles
