#include "cli/ShellCompletion.h"

#include <algorithm>

#include "cli/CommandTable.h"
#include "cli/tm/LanguageArgument.h"
#include "engine/formats/Document.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void AddMatching(CompletionReply& reply, const std::vector<std::string>& candidates,
                 const std::string& typed) {
    for (const std::string& candidate : candidates)
        if (StartsWith(candidate, typed)) reply.words.push_back(candidate);
}

const CLI::App* Subcommand(const CLI::App& command, const std::string& word) {
    for (const CLI::App* sub : VisibleSubcommands(command)) {
        const auto& aliases = sub->get_aliases();
        if (sub->get_name() == word ||
            std::find(aliases.begin(), aliases.end(), word) != aliases.end())
            return sub;
    }
    return nullptr;
}

const CLI::Option* NamedOption(const CLI::App& command, const std::string& typed) {
    for (const CLI::Option* option : NamedOptions(command)) {
        for (const auto& name : option->get_lnames())
            if (typed == "--" + name) return option;
        for (const auto& name : option->get_snames())
            if (typed == "-" + name) return option;
    }
    return nullptr;
}

// The command a help topic reaches from the top: `orvbatch help tm` goes on with tm's commands.
const CLI::App& TopicCommand(const CLI::App& app, const std::vector<std::string>& topic) {
    const CLI::App* at = &app;
    for (const std::string& word : topic) {
        const CLI::App* sub = Subcommand(*at, word);
        if (sub == nullptr) break;
        at = sub;
    }
    return *at;
}

std::vector<std::string> DocumentExtensions() {
    std::vector<std::string> extensions;
    for (const std::wstring& extension : engine::KnownDocumentExtensions())
        extensions.push_back(ToNarrow(extension));
    return extensions;
}

// The value of an option or argument, by the name its value goes by in the table.
void AddValues(CompletionReply& reply, const CLI::App& app, const CLI::Option& option,
               const std::vector<std::string>& topic, const std::string& typed) {
    const std::string kind = ValueName(option);
    if (kind == "LANGUAGE") {
        AddMatching(reply, LanguageArgumentChoices(), typed);
    } else if (kind == "FORMAT") {
        AddMatching(reply, OutputFormats(), typed);
    } else if (kind == "TYPE") {
        AddMatching(reply, {"tmx", "text"}, typed);
    } else if (kind == "DOCUMENT") {
        reply.extensions = DocumentExtensions();
    } else if (StartsWith(kind, "FILE")) {
        reply.anyFile = true;
    } else if (kind == "COMMAND") {
        AddMatching(reply, SubcommandNames(TopicCommand(app, topic)), typed);
    }
}

}  // namespace

CompletionReply CompleteCommandLine(const CLI::App& app, const std::vector<std::string>& words) {
    const CLI::App* at = &app;
    const CLI::Option* pending = nullptr;  // the option whose value comes next
    std::vector<std::string> positional;
    const std::size_t last = words.empty() ? 0 : words.size() - 1;
    for (std::size_t i = 0; i < last; ++i) {
        const std::string& word = words[i];
        if (pending != nullptr) {
            pending = nullptr;
        } else if (StartsWith(word, "-")) {
            const CLI::Option* option = NamedOption(*at, word.substr(0, word.find('=')));
            if (option != nullptr && TakesValue(*option) && word.find('=') == std::string::npos)
                pending = option;
        } else if (const CLI::App* sub = positional.empty() ? Subcommand(*at, word) : nullptr) {
            at = sub;
        } else {
            positional.push_back(word);
        }
    }
    const std::string typed = words.empty() ? std::string() : words.back();
    CompletionReply reply;
    if (pending != nullptr) {
        AddValues(reply, app, *pending, positional, typed);
        return reply;
    }
    if (StartsWith(typed, "-")) {
        std::vector<std::string> names = OptionNames(*at);
        names.push_back("--help");
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        AddMatching(reply, names, typed);
        return reply;
    }
    if (positional.empty()) AddMatching(reply, SubcommandNames(*at), typed);
    const auto arguments = Positionals(*at);
    // Each positional takes one word, but for the last one, which may take them all.
    for (std::size_t i = 0, taken = 0; i < arguments.size(); ++i) {
        const bool open = TakesMany(*arguments[i]) || i + 1 == arguments.size();
        if (taken == positional.size() || (open && taken <= positional.size())) {
            AddValues(reply, app, *arguments[i], positional, typed);
            break;
        }
        ++taken;
    }
    return reply;
}

void WriteCompletion(const CLI::App& app, const std::vector<std::string>& words,
                     std::ostream& out) {
    const CompletionReply reply = CompleteCommandLine(app, words);
    for (const std::string& word : reply.words) out << "word " << word << "\n";
    if (reply.anyFile) out << "file\n";
    for (const std::string& extension : reply.extensions) out << "extension " << extension << "\n";
}

}  // namespace orv::cli
