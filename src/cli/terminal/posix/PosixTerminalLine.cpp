#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>
#include <stdexcept>

#include "cli/terminal/SecretBytes.h"
#include "cli/terminal/TerminalLine.h"
#include "cli/terminal/posix/OwnedDescriptor.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

std::string ErrnoText(int error) {
    return strerror(error);
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

// The narrow bytes as text, wiped then.
std::wstring TextOfSecret(std::string& bytes) {
    std::wstring text = FromNarrow(bytes);
    WipeSecret(bytes);
    return text;
}

}  // namespace

std::wstring ReadPasswordFromTerminal(const std::string& prompt, std::size_t longest) {
    OwnedDescriptor terminal(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
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
                if (bytes.size() < longest) bytes += c;
                continue;
            }
            if (n == 0) break;  // end of input (Ctrl-D): what was typed so far
            if (errno == EINTR) continue;
            const int error = errno;
            WriteAll(terminal.get(), "\n");
            WipeSecret(bytes);
            throw std::runtime_error("cannot read the password from the terminal: " +
                                     ErrnoText(error));
        }
        c = 0;
        WriteAll(terminal.get(), "\n");
    }
    if (interrupted) {
        WipeSecret(bytes);
        throw std::runtime_error("the password prompt was interrupted");
    }
    return TextOfSecret(bytes);
}

std::wstring ReadAnswerFromTerminal(const std::string& question, std::size_t longest) {
    OwnedDescriptor terminal(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (terminal.get() < 0) throw std::runtime_error("there is no terminal to ask on");
    WriteAll(terminal.get(), question);
    std::string answer;
    char c = 0;
    for (;;) {
        const ssize_t n = read(terminal.get(), &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || c == '\n') break;
        if (answer.size() < longest) answer += c;
    }
    return FromNarrow(answer);
}

}  // namespace orv::cli
