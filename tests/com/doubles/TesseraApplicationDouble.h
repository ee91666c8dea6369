#pragma once
// The Tessera application double ("Tessapp.Application"). Like the real application it
// registers itself as the running instance of its class when created and keeps a hidden
// main window of class "Tessapp2Class"; Quit revokes both and ends its event connections,
// after which it and its children answer every call as a server that has gone. It always
// has one TM object (closed at first) and one object per option group, so values written
// stay in the application.

#include <ocidl.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

#include "ApplicationLink.h"
#include "DispatchObject.h"
#include "com/objects/EventingDispatchObject.h"

namespace orv::testdoubles {

class OptionGroupDouble;
class TesseraTMDouble;

class TesseraApplicationDouble final : public com::objects::EventingDispatchObject<DispatchObject> {
public:
    // The class factory's entry: a new application, registered as running.
    static HRESULT Create(REFIID iid, void** object);

    TesseraApplicationDouble();
    ~TesseraApplicationDouble() override;

    // Ends the application; a second Quit does nothing.
    void Quit();
    bool HasQuit() const noexcept { return link_->quit; }
    // Raises OnBatchCancelledByUser on every connected sink, before returning.
    void RaiseBatchCancelled(int32_t processedFiles);

protected:
    bool Disconnected() const override { return link_->quit; }

private:
    void CreateTM(DispatchCall& call);

    std::shared_ptr<ApplicationLink> link_;
    Microsoft::WRL::ComPtr<TesseraTMDouble> tm_;
    std::vector<Microsoft::WRL::ComPtr<OptionGroupDouble>> groups_;
    HiddenWindow window_;
    RunningObjectRegistration running_;
};

}  // namespace orv::testdoubles
