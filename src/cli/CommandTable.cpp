#include "cli/CommandTable.h"

namespace orv::cli {
namespace {

// Commands that serve the build and the shell, not the user: no help, man page or completion
// shows them.
constexpr const char* kToolsGroup = "";

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
    auto* cache = analyse
                      ->add_option("--index-cache", o.indexCache,
                                   "Keep the TM's match index in DIR between runs (default: the "
                                   "user's cache folder)")
                      ->type_name("DIR");
    analyse
        ->add_flag("--no-index-cache", o.noIndexCache,
                   "Read and index the TM whole, and keep nothing for the next run")
        ->excludes(cache);
    analyse->add_flag("--use-previous-tm", o.usePreviousTm,
                      "Set UseTMFromPreviousAnalysis (the results are the same either way)");
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
        ->check(CLI::IsMember(OutputFormats(), CLI::ignore_case))
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

void AddHelp(CLI::App& app, CommandArguments& arguments) {
    auto* help =
        app.add_subcommand("help", "Print the help of a command (orvbatch help tm create)");
    help->add_option("topic", arguments.helpTopic, "The command, as typed after orvbatch")
        ->type_name("COMMAND");
}

void AddTools(CLI::App& app, ToolArguments& tools) {
    auto* man = app.add_subcommand("man", "Write the man page from its template");
    man->group(kToolsGroup);
    man->add_option("--template", tools.manTemplate, "The roff template")->required();
    man->add_option("--output", tools.manOutput, "The man page to write")->required();
    man->add_option("--date", tools.manDate, "The page's date");
    auto* complete = app.add_subcommand("complete", "Name what fits the last word given");
    complete->group(kToolsGroup);
    complete->add_option("words", tools.completeWords, "The words after orvbatch");
}

}  // namespace

const std::vector<std::string>& OutputFormats() {
    static const std::vector<std::string> formats = {"table", "csv", "json"};
    return formats;
}

std::unique_ptr<CLI::App> MakeCommandTable(CommandArguments& arguments) {
    auto app = std::make_unique<CLI::App>(
        "Batch analysis of documents against a translation memory.", "orvbatch");
    app->allow_extras();
    app->add_flag("--version", arguments.version, "Print the version and exit");
    AddAnalyse(*app, arguments.analyse);
    AddTm(*app, arguments.tm);
    app->add_subcommand("options-template",
                        "Print an options file with every analysis option at its default");
    app->add_subcommand("rates-template", "Print an example rate grid to copy and edit");
    AddHelp(*app, arguments);
    AddTools(*app, arguments.tools);
    for (CLI::App* sub : app->get_subcommands({})) {
        sub->allow_extras();
        for (CLI::App* inner : sub->get_subcommands({})) inner->allow_extras();
    }
    return app;
}

std::vector<const CLI::App*> VisibleSubcommands(const CLI::App& command) {
    std::vector<const CLI::App*> visible;
    for (const CLI::App* sub : command.get_subcommands({}))
        if (sub->get_group() != kToolsGroup) visible.push_back(sub);
    return visible;
}

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
    for (const CLI::App* sub : VisibleSubcommands(command)) {
        names.push_back(sub->get_name());
        for (const auto& alias : sub->get_aliases()) names.push_back(alias);
    }
    return names;
}

// "N" of "N:INT in [0 - 100]": the name the option's value goes by, without its checks.
std::string ValueName(const CLI::Option& option) {
    const std::string full = option.get_type_name();
    return full.substr(0, full.find(':'));
}

bool TakesValue(const CLI::Option& option) {
    return option.get_items_expected_max() > 0;
}

bool TakesMany(const CLI::Option& option) {
    return option.get_items_expected_max() > 1;
}

std::vector<const CLI::Option*> Positionals(const CLI::App& command) {
    return command.get_options([](const CLI::Option* o) { return !o->nonpositional(); });
}

std::vector<const CLI::Option*> NamedOptions(const CLI::App& command) {
    const CLI::Option* help = command.get_help_ptr();
    return command.get_options(
        [help](const CLI::Option* o) { return o->nonpositional() && o != help; });
}

std::string CommandPath(const CLI::App* command) {
    std::string path;
    for (const CLI::App* at = command; at != nullptr; at = at->get_parent())
        path = at->get_name() + (path.empty() ? "" : " " + path);
    return path;
}

std::string HelpOf(const CLI::App* command) {
    const CLI::App* parent = command->get_parent();
    return parent ? command->help(CommandPath(parent)) : command->help();
}

}  // namespace orv::cli
