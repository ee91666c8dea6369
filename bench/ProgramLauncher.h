#pragma once
// Runs programs from a small process made before the benchmark takes any memory, and reports
// each run's wall-clock time and peak memory. The system counts the peak memory of the process
// that started a program into the program's own (until it executes the program, the child is
// that process), so a program started by the benchmark itself would report the benchmark's
// gigabytes as its peak.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace orv::bench {

class ProgramLauncher {
public:
    struct Figures {
        double seconds = 0, peakMegabytes = 0;
    };

    // Makes the launching process: call it first, while this process is small.
    ProgramLauncher();
    ~ProgramLauncher();
    ProgramLauncher(const ProgramLauncher&) = delete;
    ProgramLauncher& operator=(const ProgramLauncher&) = delete;

    // Runs arguments[0] with the arguments, its output thrown away; none when it cannot be
    // started or does not exit with 0.
    std::optional<Figures> Run(const std::vector<std::string>& arguments);

private:
    pid_t launcher_ = -1;
    int requests_ = -1, replies_ = -1;
};

}  // namespace orv::bench
