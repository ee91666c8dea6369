#include "cli/terminal/PasswordInput.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace orv::cli {
namespace {

using test::TempFolder;

TEST(PasswordInputTest, PasswordFileGivesItsFirstLineWithoutTheLineBreak) {
    struct Case {
        std::string bytes;
        std::wstring password;
    };
    const Case cases[] = {
        {"secret\n", L"secret"},
        {"secret\r\n", L"secret"},
        {"secret", L"secret"},
        {"", L""},
        {"\n", L""},
        {"first\nsecond\n", L"first"},
        {"  two words \t\n", L"  two words \t"},
        {"\xEF\xBB\xBFsecret\r\n", L"secret"},
        {"p\xC3\xA4ss\xE2\x82\xAC\n", L"p\u00E4ss\u20AC"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const auto file = folder.Write("password", c.bytes);
        EXPECT_EQ(ReadPasswordFile(file), c.password) << testing::PrintToString(c.bytes);
    }
}

TEST(PasswordInputTest, PasswordFileCanBeAPipeAndOnlyItsFirstLineIsRead) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string text = "from-a-manager\nnot read\n";
    ASSERT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(ends[1]);
    EXPECT_EQ(ReadPasswordFile("/dev/fd/" + std::to_string(ends[0])), L"from-a-manager");
    close(ends[0]);
}

TEST(PasswordInputTest, PasswordFileThatCannotBeReadFailsNamingItAndIsNotFallenBackFrom) {
    TempFolder folder;
    PasswordContext context;
    context.stdinIsTerminal = true;
    context.environment = FixedEnvironment({{"ORVBATCH_TM_PASSWORD", "from-env"}});
    context.prompt = [](const std::string&) -> std::wstring {
        ADD_FAILURE() << "prompted";
        return {};
    };
    const std::filesystem::path files[] = {folder.path() / "missing.txt", folder.path(),
                                           folder.Write("endless", std::string(70000, 'x'))};
    for (const auto& file : files) {
        try {
            ReadPasswordFile(file);
            ADD_FAILURE() << file;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
        }
        EXPECT_THROW(ResolvePassword(file, true, context), std::runtime_error) << file;
    }
}

TEST(PasswordInputTest, EnvironmentPasswordIsTakenWhenSetEvenWhenEmpty) {
    EXPECT_EQ(PasswordFromEnvironment(FixedEnvironment({})), std::nullopt);
    EXPECT_EQ(PasswordFromEnvironment(FixedEnvironment({{"ORVBATCH_TM_PASSWORD", "s3cret"}})),
              L"s3cret");
    EXPECT_EQ(PasswordFromEnvironment(FixedEnvironment({{"ORVBATCH_TM_PASSWORD", ""}})), L"");
}

TEST(PasswordInputTest, PasswordComesFromTheFileThenTheEnvironmentThenThePrompt) {
    TempFolder folder;
    const auto file = folder.Write("password", "from-file\n");
    chmod(file.c_str(), 0600);
    struct Case {
        const char* what;
        bool withFile;
        std::map<std::string, std::string> environment;
        bool allowPrompt, stdinIsTerminal;
        std::wstring password;
        bool prompted;
    };
    const std::map<std::string, std::string> set{{"ORVBATCH_TM_PASSWORD", "from-env"}};
    const std::map<std::string, std::string> empty{{"ORVBATCH_TM_PASSWORD", ""}};
    const Case cases[] = {
        {"file first", true, set, true, true, L"from-file", false},
        {"environment next", false, set, true, true, L"from-env", false},
        {"an empty variable is a password", false, empty, true, true, L"", false},
        {"prompt last", false, {}, true, true, L"typed", true},
        {"no prompt without a terminal", false, {}, true, false, L"", false},
        {"no prompt when not allowed", false, {}, false, true, L"", false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> prompts;
        PasswordContext context;
        context.stdinIsTerminal = c.stdinIsTerminal;
        context.environment = FixedEnvironment(c.environment);
        context.prompt = [&prompts](const std::string& text) {
            prompts.push_back(text);
            return std::wstring(L"typed");
        };
        context.promptText = "Password for anna: ";
        EXPECT_EQ(ResolvePassword(c.withFile ? file : "", c.allowPrompt, context), c.password)
            << c.what;
        EXPECT_EQ(prompts, c.prompted ? std::vector<std::string>{"Password for anna: "}
                                      : std::vector<std::string>{})
            << c.what;
    }
}

TEST(PasswordInputTest, PasswordFileOthersCanReadGetsAWarningNamingIt) {
    TempFolder folder;
    const auto file = folder.Write("password", "secret\n");
    const std::pair<mode_t, bool> modes[] = {
        {0600, false}, {0400, false}, {0640, true}, {0604, true}, {0644, true}};
    for (const auto& [mode, exposed] : modes) {
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
        std::ostringstream warnings;
        PasswordContext context;
        context.warnings = &warnings;
        EXPECT_EQ(ResolvePassword(file, false, context), L"secret");
        EXPECT_EQ(ReadableByOthers(file), exposed) << std::oct << mode;
        EXPECT_EQ(warnings.str().find(file.string()) != std::string::npos, exposed)
            << std::oct << mode << ": " << warnings.str();
    }
    EXPECT_FALSE(ReadableByOthers(folder.path() / "missing"));
}

bool EchoIsOn(int fd) {
    termios settings{};
    return tcgetattr(fd, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
}

// A child process whose controlling terminal is a new pseudo-terminal; the test plays the
// user on its master side. `body` runs in the child; its result is the child's exit code.
class TerminalChild {
public:
    explicit TerminalChild(const std::function<int()>& body) {
        pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (pid_ != 0) return;
        int code = 100;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    ~TerminalChild() {
        if (pid_ > 0 && !waited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
    }
    bool started() const { return pid_ > 0; }
    int master() const { return master_; }

    // What the child wrote to the terminal until `wanted` appeared (or the child ended, or
    // ten seconds passed).
    std::string ReadUntil(const std::string& wanted) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (transcript_.find(wanted) == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            pollfd ready{master_, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0) continue;
            char buffer[256];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) break;  // EIO: the child closed the terminal
            transcript_.append(buffer, static_cast<std::size_t>(n));
        }
        return transcript_;
    }
    // Types `keys` at the prompt and returns the child's status; a child still running
    // after ten seconds is killed.
    int Answer(const std::string& keys) {
        ReadUntil("TM password: ");
        EXPECT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
        int status = 0;
        for (int ms = 0; waitpid(pid_, &status, WNOHANG) == 0; ++ms, usleep(1000)) {
            if (ms == 10000) kill(pid_, SIGKILL);
        }
        waited_ = true;
        return status;
    }

private:
    pid_t pid_ = -1;
    int master_ = -1;
    bool waited_ = false;
    std::string transcript_;
};

TEST(PasswordPromptTest, PromptReadsALineWithoutEchoingItAndTurnsEchoBackOn) {
    TerminalChild child([] {
        if (PromptPassword("TM password: ") != L"hunter2 x") return 2;
        return EchoIsOn(STDIN_FILENO) ? 0 : 3;
    });
    ASSERT_TRUE(child.started());
    const int status = child.Answer("hunter2 x\n");
    const std::string transcript = child.ReadUntil("\n");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(transcript.find("hunter2"), std::string::npos) << transcript;
    // The prompt's line is ended for the user, who typed Enter unseen.
    EXPECT_NE(transcript.find("TM password: \r\n"), std::string::npos) << transcript;
}

TEST(PasswordPromptTest, InterruptDuringThePromptEndsTheProgramWithEchoBackOn) {
    TerminalChild child([] {
        signal(SIGINT, SIG_DFL);  // the test runner may have set it to be ignored
        PromptPassword("TM password: ");
        return 2;
    });
    ASSERT_TRUE(child.started());
    const int status = child.Answer("hun\x03");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    EXPECT_TRUE(EchoIsOn(child.master()));
}

volatile sig_atomic_t interruptSeen = 0;

TEST(PasswordPromptTest, InterruptThatTheProgramHandlesReachesItsHandlerAndFailsThePrompt) {
    TerminalChild child([] {
        signal(SIGINT, [](int) { interruptSeen = 1; });
        try {
            PromptPassword("TM password: ");
            return 2;
        } catch (const std::runtime_error&) {
        }
        return interruptSeen != 1 ? 3 : EchoIsOn(STDIN_FILENO) ? 0 : 4;
    });
    ASSERT_TRUE(child.started());
    const int status = child.Answer("hun\x03");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(PasswordPromptTest, PromptWithoutATerminalFails) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setsid();  // a new session has no controlling terminal
        try {
            PromptPassword("TM password: ");
        } catch (const std::runtime_error& e) {
            _exit(std::string(e.what()).find("no terminal") != std::string::npos ? 0 : 2);
        }
        _exit(3);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace orv::cli
