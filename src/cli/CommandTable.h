#pragma once
// The table of orvbatch's commands and options. The parser, `orvbatch help`, the man page and
// the shell completion all read this one table, so none of them can drift from the others.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "cli/AnalyseOptions.h"

namespace orv::cli {

struct TmArguments {
    std::string file;
    std::string source;
    std::string target;
    std::string user;
    std::string passwordFile;
    bool allowEmptyPassword = false;
};

// What the tools that read the table itself were asked: the man page's files, and the words
// of a command line being completed.
struct ToolArguments {
    std::string manTemplate;
    std::string manOutput;
    std::string manDate;
    std::vector<std::string> completeWords;
};

// Where the parser stores what it read.
struct CommandArguments {
    bool version = false;
    AnalyseOptions analyse;
    TmArguments tm;
    std::vector<std::string> helpTopic;
    ToolArguments tools;
};

// `analyse --format`'s choices.
const std::vector<std::string>& OutputFormats();

// The whole command table, bound to `arguments`, which must outlive it.
std::unique_ptr<CLI::App> MakeCommandTable(CommandArguments& arguments);

// The subcommands a user is shown (help, man page, completion), in table order; the tools'
// own commands are left out.
std::vector<const CLI::App*> VisibleSubcommands(const CLI::App& command);

// Names and aliases of the visible subcommands.
std::vector<std::string> SubcommandNames(const CLI::App& command);

// Every option name of `command`, with its dashes ("--tm", "-r").
std::vector<std::string> OptionNames(const CLI::App& command);

// "N" of "N:INT in [0 - 100]": the name an option's value goes by, without its checks.
std::string ValueName(const CLI::Option& option);

// Whether the option takes a value (a flag takes none), or several (the documents).
bool TakesValue(const CLI::Option& option);
bool TakesMany(const CLI::Option& option);

// The command's positional arguments, in order, and its named options but --help.
std::vector<const CLI::Option*> Positionals(const CLI::App& command);
std::vector<const CLI::Option*> NamedOptions(const CLI::App& command);

// "orvbatch tm create": the command as the user types it.
std::string CommandPath(const CLI::App* command);

// The help of `command`, as its --help prints it, with a usage line naming the whole command.
std::string HelpOf(const CLI::App* command);

}  // namespace orv::cli
