#include <atomic>

#include "cli/StopRequests.h"
#include "platform/win32/WindowsApi.h"

namespace orv::cli {
namespace {

constexpr int kCtrlBreakStopNumber = 21;
constexpr int kConsoleClosedStopNumber = 1;

// Windows ends the program as soon as the handler of a closed console window returns, and
// within about five seconds if it does not: the handler waits up to this long for the batch to
// stop and clean up (its job file lists the documents' paths).
constexpr DWORD kCleanUpWaitMilliseconds = 4500;

std::atomic<StopRequestHandler> installedHandler{nullptr};
static_assert(std::atomic<StopRequestHandler>::is_always_lock_free);

// Set when the batch has stopped. Made once and never closed: a handler of the system's thread
// may still wait on it after the last batch.
HANDLE BatchStopped() {
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

BOOL WINAPI OnConsoleControl(DWORD controlType) {
    int stopNumber = 0;
    switch (controlType) {
        case CTRL_C_EVENT:
            stopNumber = kInterruptStopNumber;
            break;
        case CTRL_BREAK_EVENT:
            stopNumber = kCtrlBreakStopNumber;
            break;
        case CTRL_CLOSE_EVENT:
            stopNumber = kConsoleClosedStopNumber;
            break;
        default:
            return FALSE;  // log-off and shut-down reach services only
    }
    const StopRequestHandler handler = installedHandler.load();
    // FALSE: the next handler, in the end the system's own, which ends the program.
    if (handler == nullptr || !handler(stopNumber)) return FALSE;
    if (controlType == CTRL_CLOSE_EVENT && BatchStopped() != nullptr)
        WaitForSingleObject(BatchStopped(), kCleanUpWaitMilliseconds);
    return TRUE;
}

}  // namespace

void InstallStopRequestHandler(StopRequestHandler handler) {
    if (BatchStopped() != nullptr) ResetEvent(BatchStopped());
    installedHandler.store(handler);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void RemoveStopRequestHandler() {
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    installedHandler.store(nullptr);
    if (BatchStopped() != nullptr) SetEvent(BatchStopped());
}

}  // namespace orv::cli
