#include "cli/InterruptCancelsBatch.h"

#include <csignal>

#include "engine/app/EngineControl.h"

namespace orv::cli {
namespace {

struct sigaction previousAction;
volatile std::sig_atomic_t interrupts = 0;

extern "C" void OnInterrupt(int signalNumber) {
    if (interrupts++ == 0) {
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
    interrupts = 0;
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
