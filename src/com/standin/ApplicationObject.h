#pragma once
// A TessappApplication served by name as "Tessapp.Application": CurrentTM, the seven option
// groups, Quit and CreateTM, and, when the parts have extras, RequestCancel, LastJobFailure
// and LastTmOpenFailure as members of its own. It behaves as the running application does:
// it registers itself in the running object table (strong) when created, keeps a hidden
// main window of class "Tessapp2Class", and raises OnBatchCancelledByUser through its
// connection point whenever the C++ application raises it. Quit ends all three, after which
// it and every object it handed out answer as a server that has gone.
//
// The same C++ object read twice gives the same automation object.

#include <wrl/client.h>

#include <memory>

#include "com/objects/EventingDispatchObject.h"
#include "com/objects/HiddenWindow.h"
#include "com/objects/NamedDispatchObject.h"
#include "com/objects/RunningObjectRegistration.h"
#include "com/standin/ApplicationPresence.h"
#include "com/standin/StandInParts.h"
#include "tessera/EventSource.h"

namespace orv::com {

class OptionGroupObject;
class TMObject;

class ApplicationObject final
    : public objects::EventingDispatchObject<objects::NamedDispatchObject> {
public:
    // The class factory's entry: a new application over CreateStandInParts(), registered as
    // running.
    static HRESULT Create(REFIID iid, void** object);

    explicit ApplicationObject(StandInParts parts);
    ~ApplicationObject() override;

    // Ends the application; a second Quit does nothing. Throws what the C++ Quit throws,
    // and then stays running.
    void Quit();

protected:
    void* MoreInterfaces(REFIID iid) override;
    bool Disconnected() const override { return presence_->quit; }

private:
    template <typename Core>
    struct Served {
        std::shared_ptr<Core> core;
        Microsoft::WRL::ComPtr<IDispatch> object;
    };

    IDispatch* ServedTM();
    void AddExtras();
    void CreateTM(objects::DispatchCall& call);

    StandInParts parts_;
    std::shared_ptr<ApplicationPresence> presence_;
    Served<TessappTM> tm_;
#define ORV_SERVED_GROUP(group, list) Served<Tessapp##group> group##_;
    ORV_OPTION_GROUPS(ORV_SERVED_GROUP)
#undef ORV_SERVED_GROUP
    Subscription cancelled_;
    objects::HiddenWindow window_;
    objects::RunningObjectRegistration running_;
};

}  // namespace orv::com
