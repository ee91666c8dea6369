#include "support/DoublesControl.h"

#include <utility>

#include "com/automation/ComError.h"
#include "com/client/VariantValues.h"

namespace orv::test {
namespace {

Microsoft::WRL::ComPtr<IDispatch> NewControl() {
    CLSID classId{};
    HRESULT hr = CLSIDFromProgID(L"OrvTestDoubles.Control", &classId);
    Microsoft::WRL::ComPtr<IDispatch> control;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control));
    if (FAILED(hr)) throw com::ErrorFromHresult(hr);
    return control;
}

}  // namespace

DoublesControl::DoublesControl() : control_(NewControl()) {}

void DoublesControl::Reset() {
    control_.Call(L"Reset");
}

void DoublesControl::FailMember(const std::wstring& member, int32_t number,
                                const std::wstring& description, int32_t times) {
    com::DispatchArguments arguments;
    arguments.Add(com::VariantFrom(member))
        .Add(com::VariantFrom(number))
        .Add(com::VariantFrom(description))
        .Add(com::VariantFrom(times));
    control_.Call(L"FailMember", std::move(arguments));
}

void DoublesControl::RaiseBatchCancelled(int32_t processedFiles) {
    com::DispatchArguments arguments;
    arguments.Add(com::VariantFrom(processedFiles));
    control_.Call(L"RaiseBatchCancelled", std::move(arguments));
}

int32_t DoublesControl::CallCount(const std::wstring& call) {
    com::DispatchArguments arguments;
    arguments.Add(com::VariantFrom(call));
    return com::ValueAs<int32_t>(*control_.Call(L"CallCount", std::move(arguments)).get());
}

void DoublesControl::Set(const std::wstring& property, const std::wstring& value) {
    control_.Put(property, com::VariantFrom(value));
}

void DoublesControl::Set(const std::wstring& property, int32_t value) {
    control_.Put(property, com::VariantFrom(value));
}

void DoublesControl::Set(const std::wstring& property, bool value) {
    control_.Put(property, com::VariantFrom(value));
}

std::wstring DoublesControl::Text(const std::wstring& property) {
    return com::ValueAs<std::wstring>(*control_.Get(property).get());
}

int32_t DoublesControl::Number(const std::wstring& property) {
    return com::ValueAs<int32_t>(*control_.Get(property).get());
}

bool DoublesControl::Flag(const std::wstring& property) {
    return com::ValueAs<bool>(*control_.Get(property).get());
}

}  // namespace orv::test
