#pragma once
// `orvbatch analyse`: one batch analysis through the component, as an automation client
// runs it, with the results written as the user asked.

#include "cli/AnalyseOptions.h"
#include "cli/Console.h"

namespace orv::cli {

// Runs the analysis and returns the exit code: kExitSuccess, kExitFailure after the
// component's error was reported on `console.err`, 128 plus the signal's number
// (InterruptCancelsBatch::ExitCode: kExitInterrupted for Ctrl-C) when a cancel request
// stopped the batch. Throws UsageError for options that make no sense before anything runs.
int RunAnalyse(const AnalyseOptions& options, Console& console);

}  // namespace orv::cli
