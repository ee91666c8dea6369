#pragma once
// Languages as a user names them on the command line: a Windows language id, as the
// component's properties take it, or a language tag, as TMX files write it.

#include <cstdint>
#include <string>
#include <vector>

namespace orv::cli {

// The Windows language id that `argument` names: decimal ("1031"), hexadecimal ("0x0407") or
// a BCP 47 tag in any letter case with "-" or "_" ("de-DE", "de_de", "EN-gb"). Throws
// UsageError, naming the argument, for anything that names no language the engine knows; a
// tag whose region is unknown ("de-XX") is refused rather than taken as the bare language.
int32_t ParseLanguageArgument(const std::string& argument);

// Every language a user may name, each as its tag ("de-DE") and its hexadecimal id ("0x0407"),
// all of them taken by ParseLanguageArgument; sorted, each once. For shell completion.
std::vector<std::string> LanguageArgumentChoices();

// "de-DE (1031)" for display; "unknown language (N)" for an id without a tag.
std::string LanguageDisplay(int32_t id);

}  // namespace orv::cli
