#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "OrvBatchAnalyseVersion.h"
#include "cli/AnalyseCommand.h"
#include "cli/CommandTable.h"
#include "cli/ErrorReport.h"
#include "cli/HelpTopics.h"
#include "cli/ManPage.h"
#include "cli/ShellCompletion.h"
#include "cli/Suggestion.h"
#include "cli/quote/RateGridFile.h"
#include "cli/terminal/PasswordInput.h"
#include "cli/tm/LanguageArgument.h"
#include "cli/tm/TesseraOptionsFile.h"
#include "cli/tm/TmCommands.h"
#include "cli/tm/UsageError.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

const std::string kVersion = std::string("orvbatch ") + kComponentVersion;

std::string HelpCommand(const CLI::App* command) {
    return CommandPath(command) + " --help";
}

// The first thing the user typed that means nothing here, with what was probably meant.
std::string UnknownArgumentMessage(const CLI::App& command, const std::string& typed) {
    if (typed == "--password" || typed.rfind("--password=", 0) == 0 || typed == "-p")
        return "a password is never taken from the command line, where other users can see "
               "it; use --password-file FILE, the environment variable ORVBATCH_TM_PASSWORD, "
               "or the prompt";
    const bool isOption = !typed.empty() && typed.front() == '-';
    std::string name = typed.substr(0, typed.find('='));
    const auto candidates = isOption ? OptionNames(command) : SubcommandNames(command);
    std::string message = (isOption ? "unknown option \"" : "unknown command \"") + name + "\"";
    if (const auto suggestion = ClosestName(name, candidates))
        message += "; did you mean \"" + *suggestion + "\"?";
    return message;
}

CLI::App* InnermostCommand(CLI::App& app) {
    CLI::App* at = &app;
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (CLI::App* sub : at->get_subcommands())
            if (sub->parsed()) {
                at = sub;
                deeper = true;
                break;
            }
    }
    return at;
}

std::wstring EnteredPassword(const TmArguments& t, const Console& console) {
    if (!t.passwordFile.empty() || PasswordFromEnvironment()) {
        PasswordContext context;
        context.warnings = &console.err;
        return ResolvePassword(t.passwordFile, false, context);
    }
    if (!console.terminal.stdinIsTerminal)
        throw UsageError("no password: give --password-file FILE or set ORVBATCH_TM_PASSWORD");
    const std::wstring first = PromptPassword("New password for " + t.user + ": ");
    if (PromptPassword("The same password again: ") != first)
        throw UsageError("the two passwords differ; nothing was changed");
    return first;
}

// An empty password is more often an empty file or variable by mistake than a choice, and it
// lets in anyone who knows the user's name: it is taken only when confirmed or allowed.
std::wstring NewUserPassword(const TmArguments& t, const Console& console) {
    std::wstring password = EnteredPassword(t, console);
    if (!password.empty() || t.allowEmptyPassword) return password;
    if (!console.terminal.stdinIsTerminal)
        throw UsageError("the password for " + t.user +
                         " is empty, which lets anyone who gives that name open the TM; "
                         "give --allow-empty-password to mean it");
    if (!ConfirmOnTerminal("The password is empty: anyone who gives the name " + t.user +
                           " may open the TM. Use it? [y/N] "))
        throw UsageError("no empty password was set; nothing was changed");
    return password;
}

int RunTmCommand(const CLI::App& command, const TmArguments& t, Console& console) {
    const std::string name = command.get_name();
    if (name == "create") {
        CreateTm(t.file, ParseLanguageArgument(t.source), ParseLanguageArgument(t.target));
        console.err << "Created " << t.file << "\n";
    } else if (name == "info") {
        TmInfo(t.file, console.out);
    } else if (name == "add-user") {
        const AddedUser added = AddUser(t.file, t.user, NewUserPassword(t, console));
        console.err << (added == AddedUser::New ? "Added user " : "New password for user ")
                    << t.user << " of " << t.file << "\n";
    } else if (name == "remove-user") {
        const std::size_t left = RemoveUser(t.file, t.user);
        console.err << "Removed user " << t.user << " from " << t.file
                    << (left == 0 ? "; with no users left, anyone may open it" : "") << "\n";
    }
    return kExitSuccess;
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv, Console& console) {
    CommandArguments arguments;
    const std::unique_ptr<CLI::App> table = MakeCommandTable(arguments);
    CLI::App& app = *table;
    const AnalyseOptions& analyseOptions = arguments.analyse;
    const TmArguments& tmArguments = arguments.tm;

    CLI::App* command = &app;
    try {
        // Every word after "help" or "complete --" is a topic's or the line being completed,
        // never a command to run or an option of orvbatch's: they bypass the parser.
        const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
        if (!words.empty() && words[0] == "help") {
            const std::vector<std::string> topic(words.begin() + 1, words.end());
            console.out << (topic.empty() ? HelpTopicList(app)
                                          : HelpOf(&FindHelpTopic(app, topic)));
            return kExitSuccess;
        }
        if (words.size() >= 2 && words[0] == "complete" && words[1] == "--") {
            WriteCompletion(app, {words.begin() + 2, words.end()}, console.out);
            return kExitSuccess;
        }
        app.parse(argc, argv);
        command = InnermostCommand(app);
        if (arguments.version) {
            console.out << kVersion << "\n";
            return kExitSuccess;
        }
        if (const auto unknown = command->remaining(); !unknown.empty())
            throw UsageError(UnknownArgumentMessage(*command, unknown.front()));
        if (command == &app || command->get_name() == "tm") {
            std::string names;
            for (const auto& name : SubcommandNames(*command))
                names += (names.empty() ? "" : ", ") + name;
            console.err << "orvbatch: error: " << CommandPath(command)
                        << " needs a command: " << names << "\n\n"
                        << HelpOf(command);
            return kExitUsage;
        }
        const std::string name = command->get_name();
        if (name == "analyse") return RunAnalyse(analyseOptions, console);
        if (name == "man") {
            WriteManPage(app, arguments.tools);
            return kExitSuccess;
        }
        if (name == "complete") throw UsageError("complete takes \"--\" and the words to complete");
        if (name == "options-template") {
            console.out << TesseraOptionsTemplate();
            return kExitSuccess;
        }
        if (name == "rates-template") {
            console.out << RateGridTemplate();
            return kExitSuccess;
        }
        return RunTmCommand(*command, tmArguments, console);
    } catch (const CLI::CallForHelp&) {
        console.out << HelpOf(InnermostCommand(app));
        return kExitSuccess;
    } catch (const CLI::CallForAllHelp&) {
        console.out << app.help("", CLI::AppFormatMode::All);
        return kExitSuccess;
    } catch (const CLI::ParseError& error) {
        ReportUsageError(console.err, error.what(), HelpCommand(InnermostCommand(app)));
        return kExitUsage;
    } catch (const UsageError& error) {
        ReportUsageError(console.err, error.what(), HelpCommand(command));
        return kExitUsage;
    } catch (const AutomationError& error) {
        ReportComponentError(console.err, error);
        return kExitFailure;
    } catch (const std::exception& error) {
        console.err << "orvbatch: error: " << error.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace orv::cli
