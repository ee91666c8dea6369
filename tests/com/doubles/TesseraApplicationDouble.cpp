#include "TesseraApplicationDouble.h"

#include <olectl.h>

#include <string>
#include <utility>

#include "ClassIds.h"
#include "DoublesState.h"
#include "OptionGroupDouble.h"
#include "OptionGroupTable.h"
#include "TesseraTMDouble.h"
#include "TextFiles.h"

namespace orv::testdoubles {
namespace {

constexpr int32_t kErrUnknownLanguage = 50012;

// The main file of a TM created at `path`: the same folder and base name, extension ".tmv".
std::wstring MainTMFileFor(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    const bool hasExtension =
        dot != std::wstring::npos && (separator == std::wstring::npos || dot > separator + 1);
    return (hasExtension ? path.substr(0, dot) : path) + L".tmv";
}

}  // namespace

HRESULT TesseraApplicationDouble::Create(REFIID iid, void** object) {
    const HRESULT refused = DoublesState::Instance().With(
        [](DoublesSettings& settings, DoublesRecord&) { return settings.tesseraCreationError; });
    if (FAILED(refused)) return refused;
    auto application = MakeObject<TesseraApplicationDouble>();
    application->running_ = RunningObjectRegistration::Register(
        static_cast<IDispatch*>(application.Get()), kTesseraApplicationClassId);
    DoublesState::Instance().With(
        [](DoublesSettings&, DoublesRecord& record) { ++record.tesseraCreated; });
    return application->QueryInterface(iid, object);
}

TesseraApplicationDouble::TesseraApplicationDouble()
    : EventingDispatchObject(
          kBatchEventsInterfaceId,
          [](int delta) { DoublesState::Instance().ConnectionsChanged(delta); }, L"Application",
          L"Tessapp"),
      link_(std::make_shared<ApplicationLink>()),
      window_(L"Tessapp2Class") {
    link_->application = this;
    tm_ = MakeObject<TesseraTMDouble>(link_);
    for (const OptionGroupShape& shape : OptionGroupShapes())
        groups_.push_back(MakeObject<OptionGroupDouble>(shape, link_));

    AddProperty(L"CurrentTM", [this](DispatchCall& call) { call.ReturnObject(tm_.Get()); });
    for (size_t i = 0; i < groups_.size(); ++i) {
        AddProperty(OptionGroupShapes()[i].group,
                    [this, i](DispatchCall& call) { call.ReturnObject(groups_[i].Get()); });
    }
    AddMethod(L"Quit", [this](DispatchCall& call) {
        call.ExpectArguments(0);
        Quit();
    });
    AddMethod(L"CreateTM", [this](DispatchCall& call) { CreateTM(call); });
    DoublesState::Instance().ApplicationCreated(this);
}

TesseraApplicationDouble::~TesseraApplicationDouble() {
    link_->application = nullptr;
    link_->quit = true;
    DoublesState::Instance().ApplicationDestroyed(this);
}

void TesseraApplicationDouble::Quit() {
    if (link_->quit) return;
    link_->quit = true;
    events().DisconnectAll();
    window_.Destroy();
    DoublesState::Instance().With(
        [](DoublesSettings&, DoublesRecord& record) { ++record.tesseraQuit; });
    // Last: the running object table may hold the last reference.
    running_.Revoke();
}

void TesseraApplicationDouble::RaiseBatchCancelled(int32_t processedFiles) {
    Microsoft::WRL::ComPtr<IDispatch> self(this);
    const auto [dispatchId, byReference] =
        DoublesState::Instance().With([](DoublesSettings& settings, DoublesRecord&) {
            return std::pair(settings.eventDispId, settings.eventByReference);
        });
    events().Fire(dispatchId, processedFiles, byReference);
}

void TesseraApplicationDouble::CreateTM(DispatchCall& call) {
    call.ExpectArguments(16);
    std::wstring arguments;
    for (UINT i = 0; i < 16; ++i) arguments += (i ? L"|" : L"") + call.String(i);
    const std::wstring path = call.String(0);
    const int32_t sourceLanguage = call.Long(2);
    const int32_t targetLanguage = call.Long(4);
    for (UINT i = 6; i <= 12; ++i) call.Long(i);  // the seven numbers must be numbers
    DoublesState::Instance().With(
        [&](DoublesSettings&, DoublesRecord& record) { record.lastCreateTMArgs = arguments; });
    for (const int32_t language : {sourceLanguage, targetLanguage}) {
        if (language <= 0)
            throw DispatchError::Exception(
                kErrUnknownLanguage,
                L"Tessera does not know the language " + std::to_wstring(language));
    }
    WriteAnsiTextFile(MainTMFileFor(path), L"TM created by the test double\r\n");
    tm_->BecomeCreated(sourceLanguage, targetLanguage);
    DoublesState::Instance().With(
        [](DoublesSettings&, DoublesRecord& record) { ++record.tmCreated; });
}

}  // namespace orv::testdoubles
