#include "cli/HelpTopics.h"

#include <algorithm>

#include "cli/CommandTable.h"
#include "cli/Suggestion.h"
#include "cli/tm/UsageError.h"

namespace orv::cli {
namespace {

bool IsNamed(const CLI::App& command, const std::string& word) {
    const auto& aliases = command.get_aliases();
    return command.get_name() == word ||
           std::find(aliases.begin(), aliases.end(), word) != aliases.end();
}

// Each topic below `command` as the user types it after "orvbatch help", depth first.
void CollectTopics(const CLI::App& command, const std::string& prefix,
                   std::vector<std::pair<std::string, std::string>>& topics) {
    for (const CLI::App* sub : VisibleSubcommands(command)) {
        const std::string path = prefix + sub->get_name();
        topics.emplace_back(path, sub->get_description());
        CollectTopics(*sub, path + " ", topics);
    }
}

}  // namespace

const CLI::App& FindHelpTopic(const CLI::App& app, const std::vector<std::string>& topic) {
    const CLI::App* at = &app;
    for (const std::string& word : topic) {
        const auto subs = VisibleSubcommands(*at);
        const auto found = std::find_if(subs.begin(), subs.end(),
                                        [&](const CLI::App* sub) { return IsNamed(*sub, word); });
        if (found == subs.end()) {
            std::string message = "no help topic \"" + word + "\" in " + CommandPath(at);
            if (const auto suggestion = ClosestName(word, SubcommandNames(*at)))
                message += "; did you mean \"" + *suggestion + "\"?";
            throw UsageError(message + " ('orvbatch help' lists the topics)");
        }
        at = *found;
    }
    return *at;
}

std::string HelpTopicList(const CLI::App& app) {
    std::vector<std::pair<std::string, std::string>> topics;
    CollectTopics(app, "", topics);
    std::size_t width = 0;
    for (const auto& [path, description] : topics) width = std::max(width, path.size());
    std::string text = "Help topics (orvbatch help TOPIC prints the help of orvbatch TOPIC):\n";
    for (const auto& [path, description] : topics)
        text += "  " + path + std::string(width - path.size() + 2, ' ') + description + "\n";
    return text;
}

}  // namespace orv::cli
