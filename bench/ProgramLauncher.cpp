#include "ProgramLauncher.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

extern char** environ;

namespace orv::bench {

namespace {

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = read(fd, bytes, size);
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

struct Reply {
    int32_t ok = 0;
    double seconds = 0, peakMegabytes = 0;
};

Reply Launch(std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Reply reply;
    if (spawned != 0) return reply;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return reply;
    reply.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    reply.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    reply.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return reply;
}

// The launching process: a request is a count of arguments and each as a length and its
// bytes; the end of the requests ends it.
[[noreturn]] void Serve(int requests, int replies) {
    for (;;) {
        uint32_t count = 0;
        if (!ReadAll(requests, &count, sizeof count)) _exit(0);
        std::vector<std::string> arguments(count);
        for (std::string& argument : arguments) {
            uint32_t length = 0;
            if (!ReadAll(requests, &length, sizeof length)) _exit(1);
            argument.resize(length);
            if (!ReadAll(requests, argument.data(), length)) _exit(1);
        }
        const Reply reply = Launch(arguments);
        if (!WriteAll(replies, &reply, sizeof reply)) _exit(1);
    }
}

}  // namespace

ProgramLauncher::ProgramLauncher() {
    int toLauncher[2], fromLauncher[2];
    if (pipe(toLauncher) != 0) throw std::runtime_error("pipe failed");
    if (pipe(fromLauncher) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    launcher_ = fork();
    if (launcher_ < 0) throw std::runtime_error("fork failed");
    if (launcher_ == 0) {
        close(toLauncher[1]);
        close(fromLauncher[0]);
        Serve(toLauncher[0], fromLauncher[1]);
    }
    close(toLauncher[0]);
    close(fromLauncher[1]);
    requests_ = toLauncher[1];
    replies_ = fromLauncher[0];
}

ProgramLauncher::~ProgramLauncher() {
    close(requests_);
    close(replies_);
    int status = 0;
    waitpid(launcher_, &status, 0);
}

std::optional<ProgramLauncher::Figures> ProgramLauncher::Run(
    const std::vector<std::string>& arguments) {
    bool sent = true;
    const auto count = static_cast<uint32_t>(arguments.size());
    sent = sent && WriteAll(requests_, &count, sizeof count);
    for (const std::string& argument : arguments) {
        const auto length = static_cast<uint32_t>(argument.size());
        sent = sent && WriteAll(requests_, &length, sizeof length) &&
               WriteAll(requests_, argument.data(), length);
    }
    Reply reply;
    if (!sent || !ReadAll(replies_, &reply, sizeof reply) || !reply.ok) return std::nullopt;
    return Figures{reply.seconds, reply.peakMegabytes};
}

}  // namespace orv::bench
