#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <map>
#include <optional>

#include "cli/AnalyseCommand.h"
#include "cli/ErrorReport.h"
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

constexpr const char* kVersion = "orvbatch 0.1.0";

struct TmArguments {
    std::string file;
    std::string source;
    std::string target;
    std::string user;
    std::string passwordFile;
    bool allowEmptyPassword = false;
};

// The command line's own words: what it was asked, and what it found unusable.
struct Parsed {
    CLI::App* command = nullptr;  // the innermost subcommand given, or the program itself
    std::vector<std::string> unknown;
};

void AddAnalyse(CLI::App& app, AnalyseOptions& o) {
    auto* analyse = app.add_subcommand(
        "analyse", "Analyse documents against a translation memory and print the bands");
    analyse->alias("analyze");
    analyse->footer(
        "The password of a protected TM comes from --password-file, else the environment\n"
        "variable ORVBATCH_TM_PASSWORD, else a prompt on the terminal; never from an\n"
        "argument, which other users could see in the process list.\n"
        "Languages are Windows language ids (1031) or tags (de-DE).\n"
        "Exit codes: 0 every document analysed, 1 the analysis failed or a document could\n"
        "not be analysed, 2 wrong usage, 130 cancelled (Ctrl-C).\n");
    analyse
        ->add_option("documents", o.documents,
                     "Documents, or folders whose documents are analysed (see -r)")
        ->type_name("DOCUMENT");
    analyse->add_option("--tm", o.tm, "The translation memory (a TMX file)")->type_name("FILE");
    analyse->add_option("--user", o.user, "The TM user to open it as")->type_name("NAME");
    analyse
        ->add_option("--password-file", o.passwordFile,
                     "Read the TM password from the first line of FILE")
        ->type_name("FILE");
    analyse->add_option("--source", o.source, "Source language (with --empty-tm)")
        ->type_name("LANGUAGE");
    analyse->add_option("--target", o.target, "Target language")->type_name("LANGUAGE");
    analyse->add_flag("--empty-tm", o.emptyTm,
                      "Analyse against an empty temporary TM (repetitions only)");
    analyse
        ->add_option("--log", o.log,
                     "Keep the analysis log in FILE and the CSV log beside it (default: none kept)")
        ->type_name("FILE");
    analyse->add_option("--html-settings", o.htmlSettings, "How HTML elements are read (INI)")
        ->type_name("FILE");
    analyse->add_option("--sgml-settings", o.sgmlSettings, "How XML/SGML elements are read (INI)")
        ->type_name("FILE");
    analyse
        ->add_option("--encoding", o.encoding,
                     "The encoding of documents that declare none and are not UTF-8")
        ->type_name("NAME");
    analyse
        ->add_option("--segmentation-rules", o.segmentationRules,
                     "Split segments by the rules of an SRX 2.0 file")
        ->type_name("FILE");
    analyse->add_flag("--use-previous-tm", o.usePreviousTm,
                      "Set UseTMFromPreviousAnalysis (an index lives only within one run)");
    analyse
        ->add_option("--export-unknown", o.exportUnknown,
                     "Export the segments without a good match to FILE")
        ->type_name("FILE");
    analyse->add_option("--max-match", o.maxMatch, "Segments matching below N% are unknown")
        ->type_name("N")
        ->check(CLI::Range(0, 100))
        ->capture_default_str();
    analyse
        ->add_option("--export-unknown-type", o.exportUnknownType,
                     "tmx, text, or a file type number 1-7")
        ->type_name("TYPE")
        ->capture_default_str();
    analyse
        ->add_option("--export-frequent", o.exportFrequent,
                     "Export the segments that occur often to FILE")
        ->type_name("FILE");
    analyse->add_option("--occurrences", o.occurrences, "Frequent means at least N times")
        ->type_name("N")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    analyse
        ->add_option("--export-frequent-type", o.exportFrequentType,
                     "tmx, text, or a file type number 1-7")
        ->type_name("TYPE")
        ->capture_default_str();
    analyse
        ->add_option("--project-tm", o.projectTm,
                     "Write the TM units that gave matches to FILE (TMX)")
        ->type_name("FILE");
    analyse
        ->add_option("--options", o.optionsFile,
                     "Analysis options (INI; see 'orvbatch options-template')")
        ->type_name("FILE");
    analyse->add_option("--format", o.format, "Standard output: table, csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}, CLI::ignore_case))
        ->type_name("FORMAT")
        ->capture_default_str();
    analyse->add_option("--report", o.report, "Also write an HTML report to FILE")
        ->type_name("FILE.html");
    analyse
        ->add_option("--rates", o.rates,
                     "Quote the words by the rate grid in FILE (see 'orvbatch rates-template')")
        ->type_name("FILE");
    analyse
        ->add_option("--quote", o.quote, "Also write the quote as CSV to FILE (needs a rate grid)")
        ->type_name("FILE.csv");
    analyse->add_flag("-r,--recursive", o.recursive, "Take documents from sub-folders too");
    analyse->add_flag("-q,--quiet", o.quiet, "No progress and no notes on standard error");
}

void AddTm(CLI::App& app, TmArguments& t) {
    auto* tm = app.add_subcommand("tm", "Create a translation memory and manage its users");
    auto* create = tm->add_subcommand("create", "Create an empty TMX memory for a language pair");
    create->add_option("--source", t.source, "Source language")->type_name("LANGUAGE")->required();
    create->add_option("--target", t.target, "Target language")->type_name("LANGUAGE")->required();
    create->add_option("file", t.file, "The TMX file to create")->type_name("FILE")->required();

    auto* info = tm->add_subcommand("info", "Show a memory's units, languages and users");
    info->add_option("file", t.file, "The TMX file")->type_name("FILE")->required();

    for (auto [name, help] :
         {std::pair{"add-user", "Add a user, or give an existing one a new password"},
          std::pair{"remove-user", "Remove a user; a TM without users is open to anyone"}}) {
        auto* command = tm->add_subcommand(name, help);
        command->add_option("file", t.file, "The TMX file")->type_name("FILE")->required();
        command->add_option("--user", t.user, "The user's name")->type_name("NAME")->required();
        if (std::string(name) == "add-user") {
            command
                ->add_option("--password-file", t.passwordFile,
                             "Read the password from the first line of FILE")
                ->type_name("FILE");
            command->add_flag("--allow-empty-password", t.allowEmptyPassword,
                              "Accept an empty password without asking");
            command->footer(
                "Without --password-file the password comes from ORVBATCH_TM_PASSWORD, else\n"
                "it is asked for twice on the terminal, without echo. An empty password is\n"
                "confirmed on the terminal, and refused elsewhere without "
                "--allow-empty-password.\n");
        }
    }
}

// Every option name of `command`, with its dashes, for suggestions.
std::vector<std::string> OptionNames(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::Option* option : command.get_options()) {
        for (const auto& name : option->get_lnames()) names.push_back("--" + name);
        for (const auto& name : option->get_snames()) names.push_back("-" + name);
    }
    return names;
}

std::vector<std::string> SubcommandNames(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::App* sub : command.get_subcommands({})) {
        names.push_back(sub->get_name());
        for (const auto& alias : sub->get_aliases()) names.push_back(alias);
    }
    return names;
}

// "orvbatch tm create": the command as the user types it.
std::string CommandPath(const CLI::App* command) {
    std::string path;
    for (const CLI::App* at = command; at != nullptr; at = at->get_parent())
        path = at->get_name() + (path.empty() ? "" : " " + path);
    return path;
}

std::string HelpCommand(const CLI::App* command) {
    return CommandPath(command) + " --help";
}

// The help of `command`, whose usage line names the whole command.
std::string HelpOf(CLI::App* command) {
    const CLI::App* parent = command->get_parent();
    return parent ? command->help(CommandPath(parent)) : command->help();
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
    CLI::App app{"Batch analysis of documents against a translation memory.", "orvbatch"};
    app.allow_extras();
    bool version = false;
    app.add_flag("--version", version, "Print the version and exit");
    AnalyseOptions analyseOptions;
    TmArguments tmArguments;
    AddAnalyse(app, analyseOptions);
    AddTm(app, tmArguments);
    app.add_subcommand("options-template",
                       "Print an options file with every analysis option at its default");
    app.add_subcommand("rates-template", "Print an example rate grid to copy and edit");
    for (CLI::App* sub : app.get_subcommands({})) {
        sub->allow_extras();
        for (CLI::App* inner : sub->get_subcommands({})) inner->allow_extras();
    }

    CLI::App* command = &app;
    try {
        app.parse(argc, argv);
        command = InnermostCommand(app);
        if (version) {
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
