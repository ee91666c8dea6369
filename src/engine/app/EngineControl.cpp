#include "engine/app/EngineControl.h"

#include <atomic>
#include <mutex>

namespace orv::engine {
namespace {

// Lock-free, so that setting it from a signal handler is safe.
std::atomic<bool> cancelRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

std::mutex callbackLock;
std::function<void(const Progress&)> progressCallback;

std::mutex failureLock;
std::wstring lastJobFailure;
std::wstring lastTmOpenFailure;

}  // namespace

void RequestCancel() noexcept {
    cancelRequested.store(true);
}

void ClearCancelRequest() noexcept {
    cancelRequested.store(false);
}

bool CancelRequested() noexcept {
    return cancelRequested.load();
}

void SetProgressCallback(std::function<void(const Progress&)> callback) {
    std::lock_guard<std::mutex> hold(callbackLock);
    progressCallback = std::move(callback);
}

void ReportProgress(const Progress& progress) {
    std::lock_guard<std::mutex> hold(callbackLock);
    if (progressCallback) progressCallback(progress);
}

std::wstring LastJobFailure() {
    std::lock_guard<std::mutex> hold(failureLock);
    return lastJobFailure;
}

void RecordJobFailure(const std::wstring& description) {
    std::lock_guard<std::mutex> hold(failureLock);
    lastJobFailure = description;
}

void ClearJobFailure() {
    RecordJobFailure({});
}

std::wstring LastTmOpenFailure() {
    std::lock_guard<std::mutex> hold(failureLock);
    return lastTmOpenFailure;
}

void RecordTmOpenFailure(const std::wstring& description) {
    std::lock_guard<std::mutex> hold(failureLock);
    lastTmOpenFailure = description;
}

}  // namespace orv::engine
