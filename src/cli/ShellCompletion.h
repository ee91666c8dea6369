#pragma once
// Shell completion, answered by orvbatch itself from its command table (`orvbatch complete --
// WORDS...`): the bash and zsh functions only ask it and hand the answer to the shell, so they
// know no command, option or language of their own.

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace orv::cli {

// What fits the last of the words typed after "orvbatch".
struct CompletionReply {
    std::vector<std::string> words;       // commands, options, values: those the word begins
    bool anyFile = false;                 // a file name of any kind
    std::vector<std::string> extensions;  // a document: files with one of these, and folders
};

// `words`: what follows "orvbatch" up to the cursor, the last one the word being typed (empty
// when a new word starts). An option that takes a value completes its value by the kind of
// value it names (LANGUAGE, FORMAT, FILE, DOCUMENT, a help topic); a word that starts with "-"
// the options of the command reached; any other word its subcommands and its positional
// argument.
CompletionReply CompleteCommandLine(const CLI::App& app, const std::vector<std::string>& words);

// The reply, one line each, for the shell functions: "word X" for each word, then "file" for
// any file or "extension E" for each document extension.
void WriteCompletion(const CLI::App& app, const std::vector<std::string>& words, std::ostream& out);

}  // namespace orv::cli
