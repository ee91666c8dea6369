#include "cli/terminal/PasswordInput.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

constexpr std::size_t kLongestPassword = 64 * 1024;
constexpr char kPasswordVariable[] = "ORVBATCH_TM_PASSWORD";
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

std::string ErrnoText(int error) {
    return strerror(error);
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

// Passwords do not linger in freed memory longer than needed.
void Wipe(std::string& bytes) {
    explicit_bzero(bytes.data(), bytes.size());
    bytes.clear();
}

std::wstring PasswordText(std::string& bytes) {
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    if (bytes.compare(0, 3, kUtf8ByteOrderMark) == 0) bytes.erase(0, 3);
    std::wstring password = FromNarrow(bytes);
    Wipe(bytes);
    return password;
}

void WriteAll(int descriptor, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(descriptor, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // the prompt is a courtesy; reading still works without it
        written += static_cast<std::size_t>(n);
    }
}

// What the signal handler needs, set before the handlers are installed. There is one
// prompt at a time, so one set suffices.
constexpr int kPromptSignals[] = {SIGINT, SIGTERM, SIGQUIT};
int promptTerminal = -1;
termios promptSettings{};
struct sigaction promptPrevious[std::size(kPromptSignals)];
volatile std::sig_atomic_t promptSignal = 0;

// Restores the terminal at once (tcsetattr and sigaction are async-signal-safe), puts the
// signal's previous disposition back and raises it again, so that it takes its usual
// course (by default: the end of the process) with echo already on.
void RestoreTerminalOnSignal(int signal) {
    const int savedErrno = errno;
    tcsetattr(promptTerminal, TCSANOW, &promptSettings);
    for (std::size_t i = 0; i < std::size(kPromptSignals); ++i) {
        if (kPromptSignals[i] == signal) sigaction(signal, &promptPrevious[i], nullptr);
    }
    promptSignal = signal;
    raise(signal);
    errno = savedErrno;
}

// Echo off for its lifetime. The prompt's signals are blocked on this thread except while
// it waits for input, so a signal can never slip in just before a read and leave the read
// waiting: it either ends the wait or stays pending until the destructor.
class EchoOff {
public:
    explicit EchoOff(int terminal) : terminal_(terminal) {
        if (tcgetattr(terminal, &saved_) != 0) {
            throw std::runtime_error("cannot read the terminal's settings: " + ErrnoText(errno));
        }
        promptTerminal = terminal;
        promptSettings = saved_;
        promptSignal = 0;
        sigset_t blocked;
        sigemptyset(&blocked);
        for (std::size_t i = 0; i < std::size(kPromptSignals); ++i) {
            sigaction(kPromptSignals[i], nullptr, &promptPrevious[i]);
            // An ignored signal stays ignored: whoever ignores it does not want it to end
            // the prompt.
            installed_[i] = promptPrevious[i].sa_handler != SIG_IGN;
            if (installed_[i]) sigaddset(&blocked, kPromptSignals[i]);
        }
        pthread_sigmask(SIG_BLOCK, &blocked, &callerMask_);
        for (std::size_t i = 0; i < std::size(kPromptSignals); ++i) {
            if (!installed_[i]) continue;
            struct sigaction action {};
            action.sa_handler = RestoreTerminalOnSignal;
            sigemptyset(&action.sa_mask);
            sigaction(kPromptSignals[i], &action, nullptr);
        }
        termios quiet = saved_;
        // ECHONL too, or the Enter key would be echoed after all; the prompt ends the line.
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
        if (tcsetattr(terminal, TCSAFLUSH, &quiet) != 0) {
            const int error = errno;
            RestoreSignals();
            throw std::runtime_error("cannot turn off the terminal's echo: " + ErrnoText(error));
        }
    }
    // Echo first, then the handlers, then the mask: a signal held back meanwhile takes its
    // course only now, with the terminal as it was.
    ~EchoOff() {
        tcsetattr(terminal_, TCSANOW, &saved_);
        RestoreSignals();
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

    // Waits until the terminal has input; false when one of the signals arrived.
    bool WaitForInput() {
        for (;;) {
            if (promptSignal != 0) return false;
            pollfd ready{terminal_, POLLIN, 0};
            // The caller's mask applies only during the wait, atomically with it.
            if (ppoll(&ready, 1, nullptr, &callerMask_) >= 0) return true;
            if (errno != EINTR) {
                throw std::runtime_error("cannot read the password from the terminal: " +
                                         ErrnoText(errno));
            }
        }
    }

private:
    void RestoreSignals() {
        for (std::size_t i = 0; i < std::size(kPromptSignals); ++i) {
            if (installed_[i]) sigaction(kPromptSignals[i], &promptPrevious[i], nullptr);
        }
        pthread_sigmask(SIG_SETMASK, &callerMask_, nullptr);
    }

    int terminal_;
    termios saved_{};
    sigset_t callerMask_{};
    bool installed_[std::size(kPromptSignals)] = {};
};

}  // namespace

std::optional<std::wstring> ReadPasswordFile(const std::filesystem::path& file) {
    const std::string name = file.string();
    Descriptor input(open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (input.get() < 0) {
        throw std::runtime_error("cannot read the password file " + name + ": " + ErrnoText(errno));
    }
    // Only the first line counts, so reading stops at its end: a pipe need not be drained
    // and a device without line ends cannot keep it reading for ever.
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(input.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            Wipe(bytes);
            throw std::runtime_error("cannot read the password file " + name + ": " +
                                     ErrnoText(error));
        }
        if (n == 0) break;
        const std::string_view chunk(buffer, static_cast<std::size_t>(n));
        const std::size_t lineEnd = chunk.find('\n');
        bytes.append(chunk.substr(0, lineEnd));
        explicit_bzero(buffer, sizeof buffer);
        if (bytes.size() > kLongestPassword) {
            Wipe(bytes);
            throw std::runtime_error("the password file " + name +
                                     " does not start with a password: its first line is "
                                     "longer than 64 KiB");
        }
        if (lineEnd != std::string_view::npos) break;
    }
    return PasswordText(bytes);
}

bool ReadableByOthers(const std::filesystem::path& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return (info.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

std::optional<std::wstring> PasswordFromEnvironment(const EnvironmentView& environment) {
    std::optional<std::string> value = environment(kPasswordVariable);
    if (!value) return std::nullopt;
    std::wstring password = FromNarrow(*value);
    Wipe(*value);
    return password;
}

std::wstring PromptPassword(const std::string& prompt) {
    Descriptor terminal(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (terminal.get() < 0) {
        throw std::runtime_error(
            "there is no terminal to ask for the TM password on; give a password file or "
            "set ORVBATCH_TM_PASSWORD");
    }
    std::string bytes;
    bool interrupted = false;
    {
        EchoOff quiet(terminal.get());
        WriteAll(terminal.get(), prompt);
        char c = 0;
        for (;;) {
            if (!quiet.WaitForInput()) {
                interrupted = true;
                break;
            }
            const ssize_t n = read(terminal.get(), &c, 1);
            if (n == 1) {
                if (c == '\n') break;
                if (bytes.size() < kLongestPassword) bytes += c;
                continue;
            }
            if (n == 0) break;  // end of input (Ctrl-D): what was typed so far
            if (errno == EINTR) continue;
            const int error = errno;
            WriteAll(terminal.get(), "\n");
            Wipe(bytes);
            throw std::runtime_error("cannot read the password from the terminal: " +
                                     ErrnoText(error));
        }
        c = 0;
        WriteAll(terminal.get(), "\n");
    }
    if (interrupted) {
        Wipe(bytes);
        throw std::runtime_error("the password prompt was interrupted");
    }
    return PasswordText(bytes);
}

bool ConfirmOnTerminal(const std::string& question) {
    Descriptor terminal(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (terminal.get() < 0) throw std::runtime_error("there is no terminal to ask on");
    WriteAll(terminal.get(), question);
    std::string answer;
    char c = 0;
    for (;;) {
        const ssize_t n = read(terminal.get(), &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || c == '\n') break;
        // Only the first word matters; a line pasted by mistake is not kept whole.
        if (answer.size() < 16) answer += c;
    }
    const std::size_t first = answer.find_first_not_of(" \t");
    return first != std::string::npos && (answer[first] == 'y' || answer[first] == 'Y');
}

std::wstring ResolvePassword(const std::filesystem::path& passwordFile, bool allowPrompt,
                             const PasswordContext& context) {
    if (!passwordFile.empty()) {
        std::optional<std::wstring> password = ReadPasswordFile(passwordFile);
        if (context.warnings != nullptr && ReadableByOthers(passwordFile)) {
            *context.warnings << "orvbatch: warning: other users can read the password file "
                              << passwordFile.string() << " (chmod 600 makes it private)\n";
        }
        return password.value_or(std::wstring());
    }
    const EnvironmentView environment =
        context.environment ? context.environment : ProcessEnvironment();
    if (std::optional<std::wstring> password = PasswordFromEnvironment(environment)) {
        return *password;
    }
    if (allowPrompt && context.stdinIsTerminal) {
        return context.prompt ? context.prompt(context.promptText)
                              : PromptPassword(context.promptText);
    }
    return {};
}

}  // namespace orv::cli
