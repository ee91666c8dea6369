#include "cli/ManPage.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "OrvBatchAnalyseVersion.h"
#include "cli/tm/UsageError.h"
#include "engine/system/AtomicFileWriter.h"
#include "engine/system/FileFailure.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

// An option's name in bold with roff's minus sign, which the man reader can search for.
std::string RoffOptionName(const std::string& name) {
    std::string roff;
    for (char c : name) roff += c == '-' ? "\\-" : std::string(1, c);
    return "\\fB" + roff + "\\fR";
}

std::string Italic(const std::string& text) {
    return "\\fI" + RoffText(text) + "\\fR";
}

// "\fBorvbatch tm create\fR [\fIOPTIONS\fR] \fIFILE\fR": one use of a command.
std::string UsageLine(const CLI::App& command) {
    std::string line = "\\fB" + RoffText(CommandPath(&command)) + "\\fR";
    if (!NamedOptions(command).empty()) line += " [" + Italic("OPTIONS") + "]";
    for (const CLI::Option* positional : Positionals(command)) {
        std::string word = Italic(ValueName(*positional)) + (TakesMany(*positional) ? "..." : "");
        line += " " + (positional->get_required() ? word : "[" + word + "]");
    }
    if (!VisibleSubcommands(command).empty()) line += " " + Italic("COMMAND");
    return line;
}

// Every command a user runs: those without subcommands of their own, in table order.
void CollectLeaves(const CLI::App& command, std::vector<const CLI::App*>& leaves) {
    for (const CLI::App* sub : VisibleSubcommands(command)) {
        if (VisibleSubcommands(*sub).empty()) {
            leaves.push_back(sub);
        } else {
            CollectLeaves(*sub, leaves);
        }
    }
}

std::string OptionEntry(const CLI::Option& option) {
    std::string names;
    for (const auto& name : option.get_snames())
        names += (names.empty() ? "" : ", ") + RoffOptionName("-" + name);
    for (const auto& name : option.get_lnames())
        names += (names.empty() ? "" : ", ") + RoffOptionName("--" + name);
    if (!option.nonpositional())
        names = Italic(ValueName(option));
    else if (TakesValue(option))
        names += " " + Italic(ValueName(option));
    std::string text = RoffText(option.get_description());
    if (option.get_required() && option.nonpositional()) text += " (required)";
    if (!option.get_default_str().empty())
        text += " (default: " + RoffText(option.get_default_str()) + ")";
    return ".TP\n" + names + "\n" + text + "\n";
}

// The footer's lines kept as they are: they are laid out by hand.
std::string Footer(const CLI::App& command) {
    const std::string footer = command.get_footer();
    if (footer.empty()) return {};
    std::string text = ".PP\n.nf\n";
    std::istringstream lines(footer);
    for (std::string line; std::getline(lines, line);) text += RoffText(line) + "\n";
    return text + ".fi\n";
}

std::string CommandSection(const CLI::App& command) {
    std::string text = ".SS " + RoffText(CommandPath(&command)) + "\n";
    text += RoffText(command.get_description()) + ".\n";
    if (!command.get_aliases().empty()) {
        std::string aliases;
        for (const auto& alias : command.get_aliases())
            aliases += (aliases.empty() ? "" : ", ") + ("\\fB" + RoffText(alias) + "\\fR");
        text += "Also: " + aliases + ".\n";
    }
    text += ".PP\n" + UsageLine(command) + "\n";
    for (const CLI::Option* option : Positionals(command)) text += OptionEntry(*option);
    for (const CLI::Option* option : NamedOptions(command)) text += OptionEntry(*option);
    return text + Footer(command);
}

std::string Synopsis(const CLI::App& app) {
    std::vector<const CLI::App*> leaves;
    CollectLeaves(app, leaves);
    std::string text;
    for (const CLI::Option* option : NamedOptions(app))
        text +=
            "\\fBorvbatch\\fR " + RoffOptionName("--" + option->get_lnames().front()) + "\n.br\n";
    text += "\\fBorvbatch\\fR " + RoffOptionName("--help") + "\n.br\n";
    for (const CLI::App* leaf : leaves) text += UsageLine(*leaf) + "\n.br\n";
    return text;
}

std::string Commands(const CLI::App& app) {
    std::vector<const CLI::App*> leaves;
    CollectLeaves(app, leaves);
    std::string text;
    for (const CLI::App* leaf : leaves) text += CommandSection(*leaf);
    return text;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

void ReplaceLine(std::string& text, const std::string& placeholder, const std::string& lines) {
    const std::string line = placeholder + "\n";
    const std::size_t at = text.find(line);
    if (at == std::string::npos || (at != 0 && text[at - 1] != '\n'))
        throw UsageError("the man page template has no line " + placeholder);
    text.replace(at, line.size(), lines);
}

}  // namespace

std::string RoffText(const std::string& text) {
    std::string roff;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) roff += "\\&";
        roff += c == '\\' ? std::string("\\e") : std::string(1, c);
        lineStart = c == '\n';
    }
    return roff;
}

std::string ManPageText(const CLI::App& app, const std::string& templateText,
                        const std::string& version, const std::string& date) {
    std::string text = templateText;
    ReplaceLine(text, "@SYNOPSIS@", Synopsis(app));
    ReplaceLine(text, "@COMMANDS@", Commands(app));
    ReplaceAll(text, "@VERSION@", version);
    ReplaceAll(text, "@DATE@", date);
    return text;
}

void WriteManPage(const CLI::App& app, const ToolArguments& tools) {
    std::ifstream in(tools.manTemplate, std::ios::binary);
    std::ostringstream templateText;
    if (!(in && templateText << in.rdbuf()))
        throw UsageError("cannot read the man page template \"" + tools.manTemplate + "\"");
    const std::string page = ManPageText(app, templateText.str(), kComponentVersion, tools.manDate);
    try {
        engine::ReplaceFileAtomically(FromNarrow(tools.manOutput), page);
    } catch (const engine::FileFailure& failure) {
        throw std::runtime_error("cannot write the man page \"" + tools.manOutput +
                                 "\": " + ToNarrow(engine::FileProblemText(failure.problem())));
    }
}

}  // namespace orv::cli
