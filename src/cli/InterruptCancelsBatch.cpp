#include "cli/InterruptCancelsBatch.h"

#include <atomic>

#include "cli/StopRequests.h"
#include "engine/app/EngineControl.h"

namespace orv::cli {
namespace {

// Lock-free, so that a signal handler may touch them.
std::atomic<int> requests{0};
std::atomic<int> firstStopNumber{0};
static_assert(std::atomic<int>::is_always_lock_free);
// The engine of the batch that runs: the one thing a handler may reach of it, since its
// cancel request is a lock-free store.
std::atomic<engine::EngineControl*> runningEngine{nullptr};
static_assert(std::atomic<engine::EngineControl*>::is_always_lock_free);

}  // namespace

InterruptCancelsBatch::InterruptCancelsBatch(engine::EngineControl& control) {
    requests.store(0);
    firstStopNumber.store(0);
    runningEngine.store(&control);
    InstallStopRequestHandler(&InterruptCancelsBatch::OnStopRequest);
}

InterruptCancelsBatch::~InterruptCancelsBatch() {
    RemoveStopRequestHandler();
    if (engine::EngineControl* control = runningEngine.exchange(nullptr))
        control->ClearCancelRequest();
}

bool InterruptCancelsBatch::OnStopRequest(int stopNumber) noexcept {
    if (requests.fetch_add(1) != 0) return false;
    firstStopNumber.store(stopNumber);
    if (engine::EngineControl* control = runningEngine.load()) control->RequestCancel();
    return true;
}

int InterruptCancelsBatch::ExitCode() {
    const int stopNumber = firstStopNumber.load();
    return 128 + (stopNumber == 0 ? kInterruptStopNumber : stopNumber);
}

}  // namespace orv::cli
