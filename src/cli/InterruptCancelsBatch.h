#pragma once
// Ctrl-C while a batch runs: the first one asks the engine to stop at the next segment, so
// the user gets the count of finished documents and no log that pretends to be complete;
// a second one ends the program at once, for a batch that does not stop.

namespace orv::cli {

class InterruptCancelsBatch {
public:
    // Installs the SIGINT handler; the destructor puts the previous one back and withdraws a
    // cancel request that no analysis acted on.
    InterruptCancelsBatch();
    ~InterruptCancelsBatch();
    InterruptCancelsBatch(const InterruptCancelsBatch&) = delete;
    InterruptCancelsBatch& operator=(const InterruptCancelsBatch&) = delete;
};

}  // namespace orv::cli
