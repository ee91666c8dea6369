#pragma once
// Ctrl-C, SIGTERM or SIGHUP (on Windows Ctrl-C, Ctrl-Break or a closed console) while a batch runs:
// the first one asks the engine that runs it to stop at its next check, so the user gets the count
// of finished documents, the job file is cleaned up and no log pretends to be complete; a second
// one ends the program at once, for a batch that does not stop. A terminal closed or a service
// manager stopping the run thus leaves no job file (it lists the document paths) behind, as Ctrl-C
// does not.

namespace orv::engine {
class EngineControl;
}

namespace orv::cli {

class InterruptCancelsBatch {
public:
    // Installs the handlers, which ask `control` to cancel; the destructor puts the previous
    // ones back and withdraws a cancel request that no analysis acted on. `control` must
    // outlive this object; one object at a time.
    explicit InterruptCancelsBatch(engine::EngineControl& control);
    ~InterruptCancelsBatch();
    InterruptCancelsBatch(const InterruptCancelsBatch&) = delete;
    InterruptCancelsBatch& operator=(const InterruptCancelsBatch&) = delete;

    // The exit code for a batch that a cancel request stopped: 128 plus the number of the
    // signal that asked (130 for Ctrl-C, 143 for SIGTERM, 129 for SIGHUP), as shells report
    // a program that a signal ended; 130 when no signal asked during the latest batch. On
    // Windows 130 for Ctrl-C, 149 for Ctrl-Break, 129 for a closed console window.
    static int ExitCode();

    // What the system's handler calls for each stop request (StopRequests.h): the first asks
    // the engine to cancel and is taken; a later one is not, so that it ends the program.
    static bool OnStopRequest(int stopNumber) noexcept;
};

}  // namespace orv::cli
