// What a stop request does to the batch that runs: the first asks its engine to cancel and
// decides the exit code; a later one is left to end the program; none outlives the batch.

#include "cli/InterruptCancelsBatch.h"

#include <gtest/gtest.h>

#include "engine/app/EngineControl.h"

namespace orv::cli {
namespace {

TEST(InterruptCancelsBatch, TheFirstRequestCancelsTheRunningEngineAndGivesTheExitCode) {
    struct Case {
        const char* what;
        int stopNumber;
        int exitCode;
    };
    const Case cases[] = {
        {"Ctrl-C", 2, 130},
        {"SIGTERM", 15, 143},
        {"SIGHUP, or a closed console window", 1, 129},
        {"Ctrl-Break", 21, 149},
    };
    for (const Case& c : cases) {
        engine::EngineControl control;
        const InterruptCancelsBatch interrupt(control);
        EXPECT_FALSE(control.CancelRequested()) << c.what;
        EXPECT_TRUE(InterruptCancelsBatch::OnStopRequest(c.stopNumber)) << c.what;
        EXPECT_TRUE(control.CancelRequested()) << c.what;
        // The second ends the program (the system's course); its number changes nothing.
        EXPECT_FALSE(InterruptCancelsBatch::OnStopRequest(15)) << c.what;
        EXPECT_FALSE(InterruptCancelsBatch::OnStopRequest(c.stopNumber)) << c.what;
        EXPECT_EQ(InterruptCancelsBatch::ExitCode(), c.exitCode) << c.what;
    }
}

TEST(InterruptCancelsBatch, ARequestNoAnalysisActedOnIsWithdrawnAndTheNextBatchStartsAfresh) {
    engine::EngineControl first;
    {
        const InterruptCancelsBatch interrupt(first);
        EXPECT_TRUE(InterruptCancelsBatch::OnStopRequest(15));
    }
    EXPECT_FALSE(first.CancelRequested());

    engine::EngineControl second;
    const InterruptCancelsBatch interrupt(second);
    EXPECT_EQ(InterruptCancelsBatch::ExitCode(), 130);  // no request yet: Ctrl-C's
    EXPECT_FALSE(second.CancelRequested());
    // Taken again: the count began anew with this batch.
    EXPECT_TRUE(InterruptCancelsBatch::OnStopRequest(2));
    EXPECT_TRUE(second.CancelRequested());
    EXPECT_FALSE(first.CancelRequested());
}

}  // namespace
}  // namespace orv::cli
