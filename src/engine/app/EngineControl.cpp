#include "engine/app/EngineControl.h"

#include <utility>

namespace orv::engine {

StopCheck EngineControl::CancelCheck() const {
    return [this] { return CancelRequested(); };
}

void EngineControl::SetProgressCallback(ProgressCallback callback) {
    ProgressCallback replaced;
    {
        std::lock_guard<std::mutex> hold(callbackLock_);
        replaced = std::exchange(progressCallback_, std::move(callback));
    }
    // The callback set before is destroyed outside the lock, so that whatever it captured may
    // take locks of its own as it goes.
}

void EngineControl::ReportProgress(const Progress& progress) {
    std::lock_guard<std::mutex> hold(callbackLock_);
    if (progressCallback_) progressCallback_(progress);
}

std::wstring EngineControl::LastJobFailure() const {
    std::lock_guard<std::mutex> hold(failureLock_);
    return lastJobFailure_;
}

void EngineControl::RecordJobFailure(const std::wstring& description) {
    std::lock_guard<std::mutex> hold(failureLock_);
    lastJobFailure_ = description;
}

std::wstring EngineControl::LastTmOpenFailure() const {
    std::lock_guard<std::mutex> hold(failureLock_);
    return lastTmOpenFailure_;
}

void EngineControl::RecordTmOpenFailure(const std::wstring& description) {
    std::lock_guard<std::mutex> hold(failureLock_);
    lastTmOpenFailure_ = description;
}

void EngineControl::SetExtras(EngineExtras extras) {
    const std::lock_guard<std::mutex> hold(extrasLock_);
    extras_ = std::move(extras);
}

EngineExtras EngineControl::Extras() const {
    const std::lock_guard<std::mutex> hold(extrasLock_);
    return extras_;
}

}  // namespace orv::engine
