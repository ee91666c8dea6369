#include "engine/app/EngineObjectServices.h"

#include <mutex>

#include "engine/app/EngineApplication.h"

namespace orv::engine {
namespace {

// Like a running object table: it does not keep the application alive.
std::mutex runningMutex;
std::weak_ptr<EngineApplication> running;

}  // namespace

std::shared_ptr<TessappApplication> EngineObjectServices::CreateTessera() {
    auto application = std::make_shared<EngineApplication>(control_);
    std::lock_guard lock(runningMutex);
    running = application;
    return application;
}

std::shared_ptr<TessappApplication> EngineObjectServices::LookUpTessera() {
    return RunningEngine();
}

std::shared_ptr<EngineApplication> RunningEngine() {
    std::lock_guard lock(runningMutex);
    return running.lock();
}

void UnregisterRunningEngine(const EngineApplication* application) {
    std::lock_guard lock(runningMutex);
    if (running.lock().get() == application) running.reset();
}

}  // namespace orv::engine
