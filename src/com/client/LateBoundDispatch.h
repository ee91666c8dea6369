#pragma once
// One object of another server, called through IDispatch by name, as a late-bound client
// calls it: each name is looked up once (GetIDsOfNames) and its dispatch id kept for the
// object's life. A failed call throws AutomationError with the callee's own number, source
// and description (a server that has gone, too: its HRESULT is the number). Calls belong to
// the thread that made the object, as the apartment requires.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <map>
#include <string>

#include "com/automation/ComText.h"
#include "com/client/DispatchArguments.h"

namespace orv::com {

class LateBoundDispatch {
public:
    explicit LateBoundDispatch(Microsoft::WRL::ComPtr<IDispatch> object);

    // The value of the property `name`.
    OwnedVariant Get(const std::wstring& name) const;
    // Sets the property `name` (DISPATCH_PROPERTYPUT with its value as DISPID_PROPERTYPUT).
    void Put(const std::wstring& name, OwnedVariant value) const;
    // Calls the method `name`; its result, Empty when it has none.
    OwnedVariant Call(const std::wstring& name, DispatchArguments arguments = {}) const;

    IDispatch* object() const noexcept { return object_.Get(); }

private:
    DISPID IdOf(const std::wstring& name) const;
    OwnedVariant Invoke(const std::wstring& name, WORD flags, DISPPARAMS& parameters) const;

    Microsoft::WRL::ComPtr<IDispatch> object_;
    mutable std::map<std::wstring, DISPID> ids_;
};

}  // namespace orv::com
