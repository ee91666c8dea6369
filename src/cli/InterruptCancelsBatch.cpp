#include "cli/InterruptCancelsBatch.h"

#include <atomic>
#include <csignal>
#include <iterator>

#include "engine/app/EngineControl.h"

namespace orv::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[std::size(kSignals)];

// Lock-free, so that the handler may touch them.
std::atomic<int> interrupts{0};
std::atomic<int> firstSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);
// The engine of the batch that runs: the one thing a handler may reach of it, since its
// cancel request is a lock-free store.
std::atomic<engine::EngineControl*> runningEngine{nullptr};
static_assert(std::atomic<engine::EngineControl*>::is_always_lock_free);

extern "C" void OnInterrupt(int signalNumber) {
    if (interrupts.fetch_add(1) == 0) {
        firstSignal.store(signalNumber);
        if (engine::EngineControl* control = runningEngine.load()) control->RequestCancel();
        return;
    }
    // Only async-signal-safe calls here: sigaction and raise are.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signalNumber, &fallback, nullptr);
    raise(signalNumber);
}

}  // namespace

InterruptCancelsBatch::InterruptCancelsBatch(engine::EngineControl& control) {
    interrupts.store(0);
    firstSignal.store(0);
    runningEngine.store(&control);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Each of the signals waits while the handler runs for another, so that the count of
    // requests stays exact.
    for (int signalNumber : kSignals) sigaddset(&action.sa_mask, signalNumber);
    action.sa_flags = SA_RESTART;
    for (std::size_t k = 0; k < std::size(kSignals); ++k)
        sigaction(kSignals[k], &action, &previousActions[k]);
}

InterruptCancelsBatch::~InterruptCancelsBatch() {
    for (std::size_t k = 0; k < std::size(kSignals); ++k)
        sigaction(kSignals[k], &previousActions[k], nullptr);
    if (engine::EngineControl* control = runningEngine.exchange(nullptr))
        control->ClearCancelRequest();
}

int InterruptCancelsBatch::ExitCode() {
    const int signalNumber = firstSignal.load();
    return signalNumber == 0 ? 128 + SIGINT : 128 + signalNumber;
}

}  // namespace orv::cli
