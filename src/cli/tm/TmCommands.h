#pragma once
// The TM management commands of orvbatch: make an empty TM, describe one, and manage the
// users a protected TM lets in. Each throws on failure: UsageError for input the user has to
// correct, the engine's AutomationError, unchanged, for a TM that cannot be read or written
// (missing, damaged, in use by another program). User names come as the command line gives
// them, in the narrow encoding.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

namespace orv::cli {

// Writes an empty TMX file for the language pair at exactly `path`. Refuses (UsageError) when
// anything already stands at `path`, when the folder is missing, or when the ids name no
// known language or the same one twice. The name is claimed before the TM is written, so
// another program's file can never be overwritten, and a failed write leaves nothing behind.
void CreateTm(const std::filesystem::path& path, int32_t sourceId, int32_t targetId);

// Units, source language, target languages, users (names only) and file size of the TM at
// `path`, one line each ("Units: 1,234"), every user on a line of their own. Text from the
// file is shown with control characters replaced, so a TM cannot drive the terminal.
void TmInfo(const std::filesystem::path& path, std::ostream& out);

enum class AddedUser {
    New,              // the TM did not know the user
    PasswordChanged,  // a user of that name (any letter case) now has the new password
};

// Adds `user` with `password`, or gives an existing user the new password. A name the engine
// would refuse is a UsageError, raised before anything is read or hashed; the TM is read once
// before the (slow) hash, so a missing or damaged TM fails at once.
AddedUser AddUser(const std::filesystem::path& path, const std::string& user,
                  const std::wstring& password);

// Removes `user` (any letter case) and gives the number of users left; with none left anyone
// may open the TM. UsageError "no user "NAME" in FILE", with the users there are, when the
// TM has no such user; the file is not rewritten then.
std::size_t RemoveUser(const std::filesystem::path& path, const std::string& user);

}  // namespace orv::cli
