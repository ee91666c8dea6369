#pragma once
// Protected translation memories: the users a TM lets in, each with a salted Argon2id hash
// of their password kept in the TMX header, the check when a TM is opened, and the
// management of the list. The protection is the engine's own: anyone who can edit the file
// can still read its text and edit the list.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/LoadCancelled.h"
#include "engine/model/TranslationMemory.h"
#include "engine/tm/TmFileLock.h"

namespace orv::engine {

// The header property type ("prop") of one user: "name:hash".
inline constexpr char kTmxUserProperty[] = "x-orv-user";

// The numbers of the only two engine failures whose descriptions carry these codes, which
// the component reads as a refused user.
inline constexpr int32_t kUnknownTmUser = 50000;
inline constexpr int32_t kWrongTmPassword = 50003;

// Why `name` cannot be a user name (empty, too long, a ":", a control character or a
// character XML cannot hold, a space at either end); none when it can.
std::optional<std::wstring> TmUserNameFault(std::wstring_view name);

// The user of `users` named `name` without regard to letter case; nullptr when none is.
const TmUser* FindTmUser(const std::vector<TmUser>& users, const std::wstring& name);

// A new salted hash of `password` (UTF-8 of the automation string), and whether `password`
// is the one `hash` was made from. Throws an engine error when the hash cannot be made.
std::string HashTmPassword(const std::wstring& password);
bool TmPasswordMatches(const std::string& hash, const std::wstring& password);

// Throws unless `user` may open `tm`: anyone may open a TM without users; otherwise an
// unknown user fails with number and code kUnknownTmUser, a wrong password with
// kWrongTmPassword. `path` names the TM in the description.
void CheckTmUser(const TranslationMemory& tm, const std::wstring& path, const std::wstring& user,
                 const std::wstring& password);

struct OpenedTm {
    TranslationMemory tm;
    TmFileLock lock;  // to hold for as long as the TM is in use
};

// The TM at `path`, read under a lock of `kind` after `user` was let in (CheckTmUser).
// `stop` may end the reading early (ReadTmxFile).
OpenedTm OpenTmxFile(const std::wstring& path, const std::wstring& user,
                     const std::wstring& password, TmFileLock::Kind kind,
                     const StopCheck& stop = {});

// The management of the list. Each rewrites the TMX file (a complete new file takes the old
// one's place) under the exclusive lock, so it fails while the TM is open elsewhere. Only the
// header's user entries change: the units, their notes and properties, and whatever else
// another tool wrote stay as they were (the file is UTF-8 afterwards).
//
// Adds `user` with `password`, or gives an existing user (any letter case) the new password.
void AddTmUser(const std::wstring& tmxPath, const std::wstring& user, const std::wstring& password);
// Removes `user`; false when the TM has no such user. Without users left the TM is open to
// anyone.
bool RemoveTmUser(const std::wstring& tmxPath, const std::wstring& user);
// The names of the TM's users, as written; empty for a TM open to anyone.
std::vector<std::wstring> TmUserNames(const std::wstring& tmxPath);

}  // namespace orv::engine
