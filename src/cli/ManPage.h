#pragma once
// orvbatch(1): the prose of a roff template with the synopsis and the commands' option lists
// written from the command table, so that the page says what the parser takes.

#include <CLI/CLI.hpp>

#include <string>

#include "cli/CommandTable.h"

namespace orv::cli {

// `templateText` with its placeholder lines filled: "@SYNOPSIS@" and "@COMMANDS@" (each alone
// on a line) by the synopsis and the sections of every visible command of `app`, "@VERSION@"
// and "@DATE@" wherever they stand. Throws UsageError when a placeholder line is missing.
std::string ManPageText(const CLI::App& app, const std::string& templateText,
                        const std::string& version, const std::string& date);

// Reads tools.manTemplate and writes the page to tools.manOutput, whole or not at all. Throws
// UsageError when the template cannot be read, std::runtime_error when the page cannot be
// written.
void WriteManPage(const CLI::App& app, const ToolArguments& tools);

// `text` safe as roff input text: backslashes escaped, and a line that would start with a
// control character ("." or "'") protected.
std::string RoffText(const std::string& text);

}  // namespace orv::cli
