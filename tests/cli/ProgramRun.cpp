#include "ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "support/TempFolder.h"

extern char** environ;

namespace orv::cli::test {
namespace {

void ReadAll(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(fd);
}

// One cache folder for every run of this test program, removed when it ends: the runs must
// neither write into the user's own cache nor read what another test program left there.
const std::string& CacheHome() {
    static const orv::test::TempFolder folder;
    static const std::string path = folder.path().string();
    return path;
}

}  // namespace

RunningProgram::RunningProgram(const std::vector<std::string>& arguments,
                               const std::filesystem::path& folder,
                               const std::map<std::string, std::string>& environment,
                               const std::string& input) {
    std::map<std::string, std::string> env;
    for (char** at = environ; *at != nullptr; ++at) {
        const std::string entry = *at;
        const auto equals = entry.find('=');
        if (equals != std::string::npos) env[entry.substr(0, equals)] = entry.substr(equals + 1);
    }
    env["XDG_CACHE_HOME"] = CacheHome();
    for (const auto& [name, value] : environment) {
        if (value.empty())
            env.erase(name);
        else
            env[name] = value;
    }
    std::vector<std::string> envText;
    for (const auto& [name, value] : env) envText.push_back(name + "=" + value);
    std::vector<std::string> argText{ORVBATCH_PATH};
    argText.insert(argText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv, envp;
    for (auto& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        if (chdir(folder.c_str()) != 0) _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (!input.empty()) {
        const ssize_t written = write(in[1], input.data(), input.size());
        (void)written;
    }
    close(in[1]);
    outReader_ = std::thread(ReadAll, out[0], std::ref(out_));
    errReader_ = std::thread(ReadAll, err[0], std::ref(err_));
}

RunningProgram::~RunningProgram() {
    if (!reaped_) kill(pid_, SIGKILL);
    // Reaped by Running or not, the readers must be joined before they are destroyed.
    Wait();
}

void RunningProgram::Signal(int signalNumber) const {
    kill(pid_, signalNumber);
}

bool RunningProgram::Running() {
    if (reaped_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
    return !reaped_;
}

bool RunningProgram::Catches(int signalNumber) const {
    // The kernel's mask of the signals the process has a handler for, in hexadecimal.
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) != 0) continue;
        const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
        return (caught >> (signalNumber - 1)) & 1u;
    }
    return false;
}

bool RunningProgram::WaitUntilItCatches(int signalNumber, std::chrono::milliseconds most) {
    const auto until = std::chrono::steady_clock::now() + most;
    while (Running() && !Catches(signalNumber)) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return Running();
}

ProgramResult RunningProgram::Wait() {
    if (!reaped_) {
        while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
    }
    if (outReader_.joinable()) outReader_.join();
    if (errReader_.joinable()) errReader_.join();
    ProgramResult result;
    if (WIFEXITED(status_)) result.exitCode = WEXITSTATUS(status_);
    if (WIFSIGNALED(status_)) result.termSignal = WTERMSIG(status_);
    result.out = out_;
    result.err = err_;
    return result;
}

ProgramResult RunOrvbatch(const std::vector<std::string>& arguments,
                          const std::filesystem::path& folder,
                          const std::map<std::string, std::string>& environment,
                          const std::string& input) {
    RunningProgram program(arguments, folder, environment, input);
    return program.Wait();
}

}  // namespace orv::cli::test
