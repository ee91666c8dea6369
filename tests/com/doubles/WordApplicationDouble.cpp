#include "WordApplicationDouble.h"

#include "ClassIds.h"
#include "DoublesState.h"

namespace orv::testdoubles {

Microsoft::WRL::ComPtr<WordApplicationDouble> WordApplicationDouble::Start() {
    auto word = MakeObject<WordApplicationDouble>();
    word->running_ = RunningObjectRegistration::Register(static_cast<IDispatch*>(word.Get()),
                                                         kWordApplicationClassId);
    return word;
}

HRESULT WordApplicationDouble::Create(REFIID iid, void** object) {
    const HRESULT refused = DoublesState::Instance().With(
        [](DoublesSettings& settings, DoublesRecord&) { return settings.wordCreationError; });
    if (FAILED(refused)) return refused;
    auto word = Start();
    DoublesState::Instance().With(
        [](DoublesSettings&, DoublesRecord& record) { ++record.wordCreated; });
    return word->QueryInterface(iid, object);
}

Microsoft::WRL::ComPtr<WordApplicationDouble> WordApplicationDouble::StartedByUser() {
    return Start();
}

WordApplicationDouble::WordApplicationDouble() : DispatchObject(L"Word", L"Word") {
    AddMethod(L"Quit", [this](DispatchCall& call) {
        call.ExpectArguments(0);
        DoublesState::Instance().With(
            [](DoublesSettings&, DoublesRecord& record) { ++record.wordQuit; });
        EndQuietly();
    });
    DoublesState::Instance().WordCreated(this);
}

WordApplicationDouble::~WordApplicationDouble() {
    DoublesState::Instance().WordDestroyed(this);
}

void WordApplicationDouble::EndQuietly() noexcept {
    quit_ = true;
    // Last: the running object table may hold the last reference.
    running_.Revoke();
}

}  // namespace orv::testdoubles
