#pragma once
// The by-name IDispatch every double is built on (NamedDispatchObject), instrumented: each
// call is recorded in the doubles' state and fails when the test asked for that (see
// DoublesState).

#include <windows.h>

#include <set>
#include <string>

#include "com/automation/ComText.h"
#include "com/objects/ConnectionPoint.h"
#include "com/objects/DispatchCall.h"
#include "com/objects/DispatchError.h"
#include "com/objects/HiddenWindow.h"
#include "com/objects/NamedDispatchObject.h"
#include "com/objects/RunningObjectRegistration.h"

namespace orv::testdoubles {

using com::OwnedVariant;
using com::objects::ConnectionPoint;
using com::objects::DispatchCall;
using com::objects::DispatchError;
using com::objects::HiddenWindow;
using com::objects::MakeObject;
using com::objects::RunningObjectRegistration;

class DispatchObject : public com::objects::NamedDispatchObject {
public:
    const std::wstring& objectName() const noexcept { return objectName_; }

protected:
    // `objectName` names the object in the call record and in a qualified FailMember
    // ("TM.Open"); `errorSource` is the source of the errors it raises.
    DispatchObject(std::wstring objectName, std::wstring errorSource, bool instrumented = true);

    // The member decides itself when an injected failure strikes (FailIfAsked).
    void MarkOwnFailurePoint(const std::wstring& name);
    // Throws the failure the test asked for on `member`, if any.
    void FailIfAsked(const std::wstring& member) const;

    void BeforeCall(const std::wstring& call) override;

private:
    std::wstring objectName_;
    bool instrumented_;
    std::set<std::wstring> ownFailurePoints_;
};

}  // namespace orv::testdoubles
