#pragma once
// The built OrvBatchAnalyse.dll, loaded into the test process as COM would load it, and
// the calls a test makes on its objects: through IDispatch by name, as script clients do,
// or through the dual interfaces' vtables, as compiled clients do.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "OrvBatchAnalyse_h.h"
#include "com/automation/ComText.h"

namespace orv::test {

using Microsoft::WRL::ComPtr;

// One apartment for the test's thread, as a script host has.
class Apartment {
public:
    Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Apartment() { CoUninitialize(); }
};

class ServerDll {
public:
    // The DLL, loaded once per process.
    static ServerDll& Get();

    // The path as Windows loaded it (the path that registration writes).
    const std::wstring& Path() const { return path_; }
    HRESULT Register() const;
    HRESULT Unregister() const;
    HRESULT CanUnloadNow() const;
    HRESULT ClassObject(REFCLSID classId, REFIID iid, void** object) const;

    // A new object of the class through its factory, as its default interface.
    template <typename Interface>
    ComPtr<Interface> Create(REFCLSID classId) const {
        ComPtr<IClassFactory> factory;
        ComPtr<Interface> object;
        if (SUCCEEDED(ClassObject(classId, IID_IClassFactory, &factory)))
            factory->CreateInstance(nullptr, __uuidof(Interface), &object);
        return object;
    }

private:
    ServerDll();
    HMODULE module_ = nullptr;
    std::wstring path_;
};

// What a call through IDispatch gave: its HRESULT, the result, and the error as a script
// host would show it (the scode's number, source, description).
struct DispatchOutcome {
    HRESULT hr = S_OK;
    com::OwnedVariant result;
    int32_t errorNumber = 0;  // the low word of a FACILITY_CONTROL scode, else the scode
    std::wstring source;
    std::wstring description;
};

enum class Call { Get, Put, PutRef, Method };

// Calls the member `name` with the arguments in the client's order.
DispatchOutcome Invoke(IDispatch* object, const std::wstring& name, Call call,
                       std::initializer_list<VARIANT> arguments = {});
DispatchOutcome Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments);

// Arguments and expected values. None of them owns anything but a Text's BSTR, which the
// calling test frees with the variants (FreeArguments) or leaks for the test's lifetime.
VARIANT Long(int32_t value);
VARIANT Short(int16_t value);
VARIANT Real(double value);
VARIANT Bool(bool value);
VARIANT Text(const std::wstring& value);
VARIANT Object(IDispatch* value);
VARIANT Nothing();
VARIANT ByRef(VARIANT* value);

// The variant as text for failure messages: "VT_I4 85", "VT_BSTR \"x\"".
std::string Describe(const VARIANT& value);
bool SameValue(const VARIANT& left, const VARIANT& right);

// Text for failure messages, characters outside ASCII as "?".
std::string Narrow(const std::wstring& text);

// The IUnknown identity of an object, for "the same object" checks.
IUnknown* IdentityOf(IUnknown* object);

// The thread's error info as (source, description), cleared.
std::pair<std::wstring, std::wstring> TakeErrorInfo();

}  // namespace orv::test
