#pragma once
// What a program around the engine can do while an analysis runs, without going through the
// component: ask it to stop, follow its progress, and read why its latest job or TM open
// failed. One belongs to each engine application (EngineApplication::control), so that two
// clients in one process, each with its own application, never see each other's requests,
// progress or failures. A program that wants to reach the control of the applications its
// BatchAnalyse starts hands it one through EngineObjectServices.

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

#include "engine/app/EngineExtras.h"
#include "engine/model/LoadCancelled.h"

namespace orv::engine {

struct Progress {
    std::size_t documentsDone = 0;
    std::size_t documents = 0;
    std::size_t segmentsDone = 0;
    std::size_t segments = 0;  // 0 while the documents are still being read
};

class EngineControl {
public:
    using ProgressCallback = std::function<void(const Progress&)>;

    EngineControl() = default;
    // The analyses hold on to it by address: it neither moves nor copies.
    EngineControl(const EngineControl&) = delete;
    EngineControl& operator=(const EngineControl&) = delete;

    // Asks the running analysis (or the next one, if none runs) to stop at its next check.
    // Any thread may call it; async-signal-safe (a lock-free store), so a signal handler may.
    void RequestCancel() noexcept { cancelRequested_.store(true); }

    // Withdraws a request that no analysis has acted on yet. An analysis that stops for a
    // request withdraws it itself (TakeCancelRequest).
    void ClearCancelRequest() noexcept { cancelRequested_.store(false); }

    bool CancelRequested() const noexcept { return cancelRequested_.load(); }

    // For the engine: whether a request is pending, withdrawing it in the same step, so that
    // one request stops one analysis, however many threads look at once.
    bool TakeCancelRequest() noexcept { return cancelRequested_.exchange(false); }

    // For the engine's loads (a TM read, an index built, a document read): a check that gives
    // true while a request is pending, and leaves it pending for whoever acts on it. Valid
    // as long as this control lives.
    StopCheck CancelCheck() const;

    // Called as the analysis proceeds (after each document read and each segment matched), on
    // the analysing threads, one call at a time. It must not throw, nor set the callback of
    // this control. An empty function stops the reports; once the setting returns, the
    // callback set before is not called again. Not to be called from a signal handler.
    void SetProgressCallback(ProgressCallback callback);

    // For the engine: reports progress to the callback, if any.
    void ReportProgress(const Progress& progress);

    // What made the latest job fail, in the engine's words: the component reports every failed
    // job with one number, so a program that wants to tell its user more asks here. Empty once
    // a job succeeds, and before any job ran.
    std::wstring LastJobFailure() const;

    // For the engine: the outcome of a job.
    void RecordJobFailure(const std::wstring& description);
    void ClearJobFailure() { RecordJobFailure({}); }

    // What made the latest opening of a TM fail, in the engine's words ("Cannot read TM ...:
    // line 12: ...", "... is in use by another process"): the component reports that with one
    // number as well. Empty once a TM opens, and before any was opened.
    std::wstring LastTmOpenFailure() const;

    // For the engine: the outcome of opening a TM; empty for success.
    void RecordTmOpenFailure(const std::wstring& description);

    // The settings the component does not know (EngineExtras.h), for this application's
    // analyses: each reads them once, as it starts.
    void SetExtras(EngineExtras extras);
    EngineExtras Extras() const;

private:
    // Lock-free, so that setting it from a signal handler is safe.
    std::atomic<bool> cancelRequested_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);

    std::mutex callbackLock_;
    ProgressCallback progressCallback_;

    mutable std::mutex failureLock_;
    std::wstring lastJobFailure_;
    std::wstring lastTmOpenFailure_;

    mutable std::mutex extrasLock_;
    EngineExtras extras_;
};

}  // namespace orv::engine
