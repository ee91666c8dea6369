#pragma once
// What a program around the engine can do while an analysis runs, without going through the
// component: ask it to stop, and follow its progress. Both are process-wide, since the
// engine runs in the caller's process.

#include <cstddef>
#include <functional>
#include <string>

namespace orv::engine {

// Asks the running analysis (or the next one, if none runs) to stop at the next segment.
// Async-signal-safe: a SIGINT handler may call it.
void RequestCancel() noexcept;

// Withdraws a request that no analysis has acted on yet. An analysis that stops for a
// request withdraws it itself.
void ClearCancelRequest() noexcept;

bool CancelRequested() noexcept;

struct Progress {
    std::size_t documentsDone = 0;
    std::size_t documents = 0;
    std::size_t segmentsDone = 0;
    std::size_t segments = 0;  // 0 while the documents are still being read
};

// Called as the analysis proceeds (after each document read and each segment matched), on
// the analysing threads, one call at a time. It must not throw. An empty function stops the
// reports. Not to be called from a signal handler.
void SetProgressCallback(std::function<void(const Progress&)> callback);

// For the engine: reports progress to the callback, if any.
void ReportProgress(const Progress& progress);

// What made the latest job fail, in the engine's words: the component reports every failed
// job with one number, so a program that wants to tell its user more asks here. Empty once a
// job succeeds, and before any job ran.
std::wstring LastJobFailure();

// For the engine: the outcome of a job.
void RecordJobFailure(const std::wstring& description);
void ClearJobFailure();

// What made the latest opening of a TM fail, in the engine's words ("Cannot read TM ...:
// line 12: ...", "... is in use by another process"): the component reports that with one
// number as well. Empty once a TM opens, and before any was opened.
std::wstring LastTmOpenFailure();

// For the engine: the outcome of opening a TM; empty for success.
void RecordTmOpenFailure(const std::wstring& description);

}  // namespace orv::engine
