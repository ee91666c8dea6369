#include "cli/InterruptCancelsBatch.h"

#include <atomic>
#include <csignal>

#include "engine/app/EngineControl.h"

namespace orv::cli {
namespace {

struct sigaction previousAction;
// Lock-free, so that the handler may touch it.
std::atomic<int> interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnInterrupt(int signalNumber) {
    if (interrupts.fetch_add(1) == 0) {
        engine::RequestCancel();
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

InterruptCancelsBatch::InterruptCancelsBatch() {
    interrupts.store(0);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousAction);
}

InterruptCancelsBatch::~InterruptCancelsBatch() {
    sigaction(SIGINT, &previousAction, nullptr);
    engine::ClearCancelRequest();
}

}  // namespace orv::cli
