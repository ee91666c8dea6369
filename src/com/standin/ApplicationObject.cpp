#include "com/standin/ApplicationObject.h"

#include "com/standin/OptionGroupObject.h"
#include "com/standin/TMObject.h"
#include "com/standin/TesseraIds.h"

namespace orv::com {
namespace {

using objects::DispatchCall;

// The automation object of `core`, made anew only when the C++ object changed.
template <typename Core, typename Make>
IDispatch* ServedObject(std::shared_ptr<Core> core, std::shared_ptr<Core>& servedCore,
                        Microsoft::WRL::ComPtr<IDispatch>& served, Make make) {
    if (!core) return nullptr;
    if (core != servedCore || !served) {
        served = make(core);
        servedCore = std::move(core);
    }
    return served.Get();
}

// The event's only member, as the event interface numbers it.
constexpr DISPID kBatchCancelledDispatchId = 1;

}  // namespace

HRESULT ApplicationObject::Create(REFIID iid, void** object) {
    auto application = objects::MakeObject<ApplicationObject>(CreateStandInParts());
    application->running_ = objects::RunningObjectRegistration::Register(
        static_cast<IDispatch*>(application.Get()), kTesseraApplicationClassId);
    return application->QueryInterface(iid, object);
}

ApplicationObject::ApplicationObject(StandInParts parts)
    : EventingDispatchObject(kBatchEventsInterfaceId, {}, L"Tessapp"),
      parts_(std::move(parts)),
      presence_(std::make_shared<ApplicationPresence>()),
      window_(L"Tessapp2Class") {
    AddProperty(L"CurrentTM", [this](DispatchCall& call) { call.ReturnObject(ServedTM()); });
#define ORV_GROUP_MEMBER(group, list)                                                    \
    AddProperty(L## #group, [this](DispatchCall& call) {                                 \
        call.ReturnObject(ServedObject(parts_.application->get_##group(), group##_.core, \
                                       group##_.object, [this](const auto& core) {       \
                                           return Microsoft::WRL::ComPtr<IDispatch>(     \
                                               OptionGroupObject::For(core, presence_)); \
                                       }));                                              \
    });
    ORV_OPTION_GROUPS(ORV_GROUP_MEMBER)
#undef ORV_GROUP_MEMBER
    AddMethod(L"Quit", [this](DispatchCall& call) {
        call.ExpectArguments(0);
        Quit();
    });
    AddMethod(L"CreateTM", [this](DispatchCall& call) { CreateTM(call); });
    if (parts_.extras) AddExtras();
    cancelled_ =
        parts_.application->OnBatchCancelledByUser.Subscribe([this](int32_t processedFiles) {
            events().Fire(kBatchCancelledDispatchId, processedFiles, false);
        });
}

ApplicationObject::~ApplicationObject() {
    presence_->quit = true;
}

void ApplicationObject::AddExtras() {
    AddMethod(L"RequestCancel", [this](DispatchCall& call) {
        call.ExpectArguments(0);
        parts_.extras->RequestCancel();
    });
    AddProperty(L"LastJobFailure", [this](DispatchCall& call) {
        call.Return(OwnedVariant::FromString(parts_.extras->get_LastJobFailure()));
    });
    AddProperty(L"LastTmOpenFailure", [this](DispatchCall& call) {
        call.Return(OwnedVariant::FromString(parts_.extras->get_LastTmOpenFailure()));
    });
}

void* ApplicationObject::MoreInterfaces(REFIID iid) {
    return iid == kTessappApplicationId ? static_cast<IDispatch*>(this) : nullptr;
}

IDispatch* ApplicationObject::ServedTM() {
    return ServedObject(parts_.application->get_CurrentTM(), tm_.core, tm_.object,
                        [this](const std::shared_ptr<TessappTM>& core) {
                            return Microsoft::WRL::ComPtr<IDispatch>(
                                objects::MakeObject<TMObject>(core, presence_));
                        });
}

void ApplicationObject::CreateTM(DispatchCall& call) {
    call.ExpectArguments(16);
    parts_.application->CreateTM(call.String(0), call.String(1), call.Long(2), call.String(3),
                                 call.Long(4), call.String(5), call.Long(6), call.Long(7),
                                 call.Long(8), call.Long(9), call.Long(10), call.Long(11),
                                 call.Long(12), call.String(13), call.String(14), call.String(15));
}

void ApplicationObject::Quit() {
    if (presence_->quit) return;
    parts_.application->Quit();
    presence_->quit = true;
    cancelled_.reset();
    events().DisconnectAll();
    window_.Destroy();
    // Last: the running object table may hold the last reference.
    running_.Revoke();
}

}  // namespace orv::com
