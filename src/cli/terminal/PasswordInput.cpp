#include "cli/terminal/PasswordInput.h"

#include <stdexcept>

#include "cli/terminal/SecretBytes.h"
#include "cli/terminal/SecretFile.h"
#include "cli/terminal/TerminalLine.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"

namespace orv::cli {
namespace {

constexpr std::size_t kLongestPassword = 64 * 1024;
// Only the first word of an answer matters; a line pasted by mistake is not kept whole.
constexpr std::size_t kLongestAnswer = 16;
constexpr char kPasswordVariable[] = "ORVBATCH_TM_PASSWORD";

std::wstring PasswordText(std::string& bytes) {
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    std::wstring password = FromTextFileBytes(bytes);
    WipeSecret(bytes);
    return password;
}

}  // namespace

std::optional<std::wstring> ReadPasswordFile(const std::filesystem::path& file) {
    const std::string name = NarrowPathText(file);
    std::string bytes;
    try {
        bytes = ReadFirstLineOfSecretFile(file, kLongestPassword);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error("cannot read the password file " + name + ": " + error.what());
    }
    if (bytes.size() > kLongestPassword) {
        WipeSecret(bytes);
        throw std::runtime_error("the password file " + name +
                                 " does not start with a password: its first line is "
                                 "longer than 64 KiB");
    }
    return PasswordText(bytes);
}

bool ReadableByOthers(const std::filesystem::path& file) {
    return SecretFileReadableByOthers(file);
}

std::optional<std::wstring> PasswordFromEnvironment(const EnvironmentView& environment) {
    std::optional<std::string> value = environment(kPasswordVariable);
    if (!value) return std::nullopt;
    std::wstring password = FromNarrow(*value);
    WipeSecret(*value);
    return password;
}

std::wstring PromptPassword(const std::string& prompt) {
    std::wstring password = ReadPasswordFromTerminal(prompt, kLongestPassword);
    if (!password.empty() && password.back() == L'\r') password.pop_back();
    if (!password.empty() && password.front() == L'\uFEFF') password.erase(0, 1);
    return password;
}

bool ConfirmOnTerminal(const std::string& question) {
    const std::wstring answer = ReadAnswerFromTerminal(question, kLongestAnswer);
    const std::size_t first = answer.find_first_not_of(L" \t");
    return first != std::wstring::npos && (answer[first] == L'y' || answer[first] == L'Y');
}

std::wstring ResolvePassword(const std::filesystem::path& passwordFile, bool allowPrompt,
                             const PasswordContext& context) {
    if (!passwordFile.empty()) {
        std::optional<std::wstring> password = ReadPasswordFile(passwordFile);
        if (context.warnings != nullptr && ReadableByOthers(passwordFile)) {
            *context.warnings << "orvbatch: warning: other users can read the password file "
                              << NarrowPathText(passwordFile) << " (" << kMakeSecretFilePrivate
                              << ")\n";
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
