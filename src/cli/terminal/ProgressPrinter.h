#pragma once
// The progress of an analysis on standard error, as one line rewritten in place:
//   Analysing: 3/12 documents, 1,204/5,000 segments, 850 seg/s, about 5 s left
// While the documents are read (no segments known yet) it reads "Reading: 3/12 documents".

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>

#include "cli/terminal/TerminalAbilities.h"
#include "engine/app/EngineControl.h"

namespace orv::cli {

struct ProgressStyle {
    // A disabled printer writes nothing at all.
    bool enabled = true;
    // Erase the rest of the line with an ANSI sequence; without it, shorter lines are
    // padded with spaces over the previous text.
    bool ansi = false;
    // The terminal's width; lines are kept at most columns - 1 long, so that the cursor
    // never wraps to a new line.
    int columns = 80;
};

// Progress only on a terminal: on a file or a pipe the rewritten line would be noise.
ProgressStyle ProgressStyleFor(const TerminalAbilities& abilities);

class ProgressPrinter {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // `out` must outlive the printer. The clock gives the time of each update (tests pass
    // a fake one).
    ProgressPrinter(std::ostream& out, ProgressStyle style,
                    Clock clock = &std::chrono::steady_clock::now);
    // The same with the terminal's control sequences and width; `enabled` is the caller's
    // choice (say, standard error is a terminal and no --quiet).
    ProgressPrinter(std::ostream& out, const TerminalAbilities& terminal, bool enabled,
                    Clock clock = &std::chrono::steady_clock::now);

    // Shows `progress`, at most about ten times a second: the first update, the change from
    // reading to matching and the final state (everything done) are always drawn, others
    // are dropped when the last drawing is less than 100 ms old. The rate and the time left
    // appear once at least half a second of matching has passed and a segment was matched.
    // Any thread may call it; calls are serialised. Never throws: a failed drawing is
    // dropped, since progress must not stop an analysis.
    void Update(const engine::Progress& progress) noexcept;

    // Clears the line (if anything was drawn), so that what follows starts on a clean line,
    // and starts afresh for another analysis. Remove the engine's callback before calling
    // it, or a late update will draw the line again.
    void Finish() noexcept;

private:
    void Draw(const std::string& text);

    std::ostream& out_;
    const ProgressStyle style_;
    const Clock clock_;

    std::mutex lock_;
    bool drawn_ = false;
    bool matching_ = false;
    std::size_t shownLength_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
    // Where the rate is measured from: the first update of the matching phase.
    std::chrono::steady_clock::time_point matchStart_{};
    std::size_t matchStartSegments_ = 0;
};

}  // namespace orv::cli
