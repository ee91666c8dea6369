#pragma once
// The object services that make the engine Tessera's stand-in: "create Tessera" starts an
// engine application in this process and registers it as the running one, which "look up
// a running Tessera" then finds until it quits. There is no Word here.

#include <memory>

#include "tessera/ObjectServices.h"

namespace orv::engine {

class EngineApplication;

class EngineObjectServices : public ObjectServices {
public:
    std::shared_ptr<TessappApplication> CreateTessera() override;
    std::shared_ptr<TessappApplication> LookUpTessera() override;
    std::shared_ptr<LateBoundObject> CreateWord() override { return nullptr; }
    std::shared_ptr<LateBoundObject> LookUpWord() override { return nullptr; }
};

// The engine application registered as running in this process (the one created last that
// has not quit), or none. Safe to call from any thread.
std::shared_ptr<EngineApplication> RunningEngine();

// Ends the registration of `application` if it is the running one.
void UnregisterRunningEngine(const EngineApplication* application);

}  // namespace orv::engine
