#pragma once
// The orvbatch program run as a user runs it: its own process, standard input and output
// through pipes (so never a terminal), an environment the test chooses.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace orv::cli::test {

struct ProgramResult {
    int exitCode = -1;   // -1 when a signal ended it
    int termSignal = 0;  // the signal that ended it, if one did
    std::string out;
    std::string err;
};

class RunningProgram {
public:
    // Starts ORVBATCH_PATH with `arguments` in `folder`; the environment is this process's
    // with `environment` applied (an empty value removes the variable).
    RunningProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                   const std::map<std::string, std::string>& environment = {},
                   const std::string& input = "");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    void Signal(int signalNumber) const;
    // Whether it is still running (without waiting).
    bool Running();
    // Whether it has a handler of its own for `signalNumber` (Linux only: read from /proc).
    bool Catches(int signalNumber) const;
    // Waits until it catches `signalNumber`, for at most `most`; false when it did not, or
    // ended first. A signal sent before that would end it by the default action, which is
    // what a slow start under a sanitizer on a busy machine made a timed test see.
    bool WaitUntilItCatches(int signalNumber, std::chrono::milliseconds most);
    ProgramResult Wait();

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = false;
    std::string out_, err_;
    std::thread outReader_, errReader_;
};

ProgramResult RunOrvbatch(const std::vector<std::string>& arguments,
                          const std::filesystem::path& folder,
                          const std::map<std::string, std::string>& environment = {},
                          const std::string& input = "");

}  // namespace orv::cli::test
