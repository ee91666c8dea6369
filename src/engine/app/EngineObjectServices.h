#pragma once
// The object services that make the engine Tessera's stand-in: "create Tessera" starts an
// engine application in this process and registers it as the running one, which "look up
// a running Tessera" then finds until it quits. There is no Word here.
//
// A program that wants to cancel the analyses of its own BatchAnalyse, follow their progress or
// read their failures gives that BatchAnalyse services made with a control of its own: every
// application these services create then answers to that control, and to no other.

#include <memory>
#include <utility>

#include "tessera/ObjectServices.h"

namespace orv::engine {

class EngineApplication;
class EngineControl;

class EngineObjectServices : public ObjectServices {
public:
    // Without a control, each application created gets one of its own (EngineApplication).
    explicit EngineObjectServices(std::shared_ptr<EngineControl> control = nullptr)
        : control_(std::move(control)) {}

    std::shared_ptr<TessappApplication> CreateTessera() override;
    std::shared_ptr<TessappApplication> LookUpTessera() override;
    std::shared_ptr<LateBoundObject> CreateWord() override { return nullptr; }
    std::shared_ptr<LateBoundObject> LookUpWord() override { return nullptr; }

private:
    const std::shared_ptr<EngineControl> control_;
};

// The engine application registered as running in this process (the one created last that
// has not quit), or none. Safe to call from any thread.
std::shared_ptr<EngineApplication> RunningEngine();

// Ends the registration of `application` if it is the running one.
void UnregisterRunningEngine(const EngineApplication* application);

}  // namespace orv::engine
