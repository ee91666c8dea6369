#pragma once
// What the terminal around orvbatch can do, decided once at start-up: which standard
// streams are terminals, whether the result table may use colour, whether the progress
// line may use control sequences, and how wide a line may be.

#include "cli/terminal/EnvironmentView.h"

namespace orv::cli {

struct TerminalAbilities {
    bool stderrIsTerminal = false;
    bool stdoutIsTerminal = false;
    bool stdinIsTerminal = false;
    // Colour on standard output, where the result table goes: a terminal, NO_COLOR unset or
    // empty, TERM set and not "dumb" (or a console that takes control sequences, and TERM not
    // "dumb"). Output sent to a file or a pipe never gets colour.
    bool color = false;
    int columns = 80;
    // Standard error is a terminal that understands ANSI control sequences (TERM set and
    // not "dumb"), so the progress line may erase what is left of its previous text.
    // NO_COLOR does not affect it: erasing a line adds no colour.
    bool stderrAnsi = false;
};

// What the operating system says about the standard streams; DetectTerminal gathers it.
struct TerminalFacts {
    bool stdinIsTerminal = false;
    bool stdoutIsTerminal = false;
    bool stderrIsTerminal = false;
    // The width the terminal reports; 0 when no stream is a terminal that reports one.
    int windowColumns = 0;
    // The system itself says that the terminal of standard output or error interprets ANSI
    // control sequences, whatever TERM says: a Windows console whose virtual-terminal
    // processing is on (Windows sets no TERM). Never on POSIX, where TERM tells.
    bool stdoutTakesControlSequences = false;
    bool stderrTakesControlSequences = false;
};

// The decision itself, from the facts and the variables NO_COLOR, TERM and COLUMNS (a console
// that takes control sequences needs no TERM, but TERM=dumb still turns them off). The
// width is the terminal's own, else COLUMNS when it is a whole number from 1 to 9999, else
// 80: the terminal's width comes first because a line wider than the real window wraps
// and breaks the progress line's rewriting.
TerminalAbilities DecideTerminal(const TerminalFacts& facts, const EnvironmentView& environment);

// The abilities of the running process's terminal, from ReadTerminalFacts
// (StandardStreams.h).
TerminalAbilities DetectTerminal(const EnvironmentView& environment = ProcessEnvironment());

}  // namespace orv::cli
