#include "cli/ErrorExplanation.h"

#include <utility>

namespace orv::cli {
namespace {

constexpr std::pair<int32_t, const char*> kExplanations[] = {
    {40000, "Something failed that the component has no number for."},
    {40001, "The analysis application could not be started."},
    {40002, "The analysis itself failed; the reason follows when the engine gave one."},
    {40003, "A file the batch names (a document or a settings file) does not exist."},
    {40004,
     "A folder the results are to be written to (of the log, an export or the "
     "project TM) does not exist."},
    {40005, "The analysis wrote no CSV log file to read the results from."},
    {40006,
     "The translation memory could not be opened: it is damaged, not a TMX file, "
     "or in use by another process."},
    {40007, "No empty translation memory could be created for the language pair."},
    {40008, "The translation memory has no translations into the target language."},
    {40009, "The source language could not be set up."},
    {40010,
     "The job file could not be written (a path contains a line break, or the "
     "temporary folder cannot be written)."},
    {40011, "No source language was given; --empty-tm needs --source."},
    {40012, "No target language was given (--target)."},
    {40013, "No translation memory was given (--tm, or --empty-tm with --source)."},
    {40014, "No user name was given (--user)."},
    {40015, "The translation memory file does not exist."},
    {40016,
     "The translation memory refused the user: the user name is not one of its "
     "users, or the password is wrong."},
    {40017, "The job is too large for the analysis application on this system."},
    {50000, "The user is not one of the translation memory's users."},
    {50001, "The analysis engine refused the request."},
    {50003, "The password is wrong for this user of the translation memory."},
};

}  // namespace

std::string ExplainError(int32_t number) {
    for (const auto& [code, text] : kExplanations)
        if (code == number) return text;
    return {};
}

}  // namespace orv::cli
