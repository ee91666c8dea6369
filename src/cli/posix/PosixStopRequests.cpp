#include <signal.h>

#include <atomic>
#include <iterator>

#include "cli/StopRequests.h"

namespace orv::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[std::size(kSignals)];

std::atomic<StopRequestHandler> installedHandler{nullptr};
static_assert(std::atomic<StopRequestHandler>::is_always_lock_free);

extern "C" void OnStopSignal(int signalNumber) {
    const StopRequestHandler handler = installedHandler.load();
    if (handler != nullptr && handler(signalNumber)) return;
    // Only async-signal-safe calls here: sigaction and raise are.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signalNumber, &fallback, nullptr);
    raise(signalNumber);
}

}  // namespace

void InstallStopRequestHandler(StopRequestHandler handler) {
    installedHandler.store(handler);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Each of the signals waits while the handler runs for another, so that the handler's count
    // of requests stays exact.
    for (int signalNumber : kSignals) sigaddset(&action.sa_mask, signalNumber);
    action.sa_flags = SA_RESTART;
    for (std::size_t k = 0; k < std::size(kSignals); ++k)
        sigaction(kSignals[k], &action, &previousActions[k]);
}

void RemoveStopRequestHandler() {
    for (std::size_t k = 0; k < std::size(kSignals); ++k)
        sigaction(kSignals[k], &previousActions[k], nullptr);
    installedHandler.store(nullptr);
}

}  // namespace orv::cli
