#pragma once
// `orvbatch help TOPIC`: the help of any command by its name, as its --help prints it.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace orv::cli {

// The command that `topic` names from the top ("tm", "create": `orvbatch tm create`); aliases
// count. Throws UsageError for a word that names no command there, with the closest name.
const CLI::App& FindHelpTopic(const CLI::App& app, const std::vector<std::string>& topic);

// Every topic, one a line with its description, for `orvbatch help` alone.
std::string HelpTopicList(const CLI::App& app);

}  // namespace orv::cli
