#include "DispatchObject.h"

#include "DoublesState.h"

namespace orv::testdoubles {

DispatchObject::DispatchObject(std::wstring objectName, std::wstring errorSource, bool instrumented)
    : NamedDispatchObject(std::move(errorSource)),
      objectName_(std::move(objectName)),
      instrumented_(instrumented) {}

void DispatchObject::MarkOwnFailurePoint(const std::wstring& name) {
    ownFailurePoints_.insert(name);
}

void DispatchObject::FailIfAsked(const std::wstring& member) const {
    if (!instrumented_) return;
    auto failure = DoublesState::Instance().TakeFailure(objectName_, member);
    if (!failure) return;
    // A negative number is an HRESULT that Invoke returns bare, as a failing transport does.
    if (failure->number < 0) throw DispatchError::Status(static_cast<HRESULT>(failure->number));
    throw DispatchError::Exception(failure->number, std::move(failure->description));
}

void DispatchObject::BeforeCall(const std::wstring& call) {
    if (!instrumented_) return;
    DoublesState::Instance().RecordCall(objectName_ + L"." + call);
    const std::wstring member = call.ends_with(L'=') ? call.substr(0, call.size() - 1) : call;
    if (!ownFailurePoints_.contains(member)) FailIfAsked(member);
}

}  // namespace orv::testdoubles
