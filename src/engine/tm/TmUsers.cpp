#include "engine/tm/TmUsers.h"

#include <sodium.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <mutex>

#include "engine/model/EngineError.h"
#include "engine/system/FileFailure.h"
#include "engine/system/WholeFile.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/TmxUserList.h"
#include "engine/tm/TmxWriter.h"
#include "platform/AutomationError.h"
#include "platform/CodePoints.h"
#include "platform/TextCase.h"

namespace orv::engine {
namespace {

constexpr std::size_t kLongestUserName = 256;

// The costs of an Argon2 hash are written in it, so a crafted TM could ask for any amount of
// memory and time when a password is checked. The engine writes interactive costs; these
// bounds still let in libsodium's costliest suggestion (SENSITIVE) and nothing beyond.
constexpr std::uint64_t kMostMemoryKiB = std::uint64_t{1} << 20;  // 1 GiB
constexpr std::uint64_t kMostPasses = 8;
constexpr std::uint64_t kMostLanes = 16;

void InitialiseSodium() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = sodium_init() >= 0; });
    if (!ready) RaiseEngineError(L"The password library cannot be started");
}

// A lone surrogate is no character, whichever width wchar_t has.
bool IsControlOrNonXml(const DecodedCodePoint& c) {
    const char32_t code = c.value;
    return !c.wellFormed || code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0xFFFE ||
           code == 0xFFFF;
}

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\u00A0' || c == L'\u3000';
}

// The number after `key` in the parameters of `hash`; none when it is missing or too large.
std::optional<std::uint64_t> HashParameter(std::string_view hash, std::string_view key) {
    const std::size_t at = hash.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    const char* first = hash.data() + at + key.size();
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(first, hash.data() + hash.size(), value);
    if (error != std::errc() || end == first) return std::nullopt;
    return value;
}

bool CostsAreBounded(std::string_view hash) {
    const auto memory = HashParameter(hash, "$m=");
    const auto passes = HashParameter(hash, ",t=");
    const auto lanes = HashParameter(hash, ",p=");
    return memory && passes && lanes && *memory <= kMostMemoryKiB && *passes <= kMostPasses &&
           *lanes <= kMostLanes;
}

[[noreturn]] void RefuseUser(int32_t code, const std::wstring& what) {
    // The code itself is the one place where those digits may stand.
    throw AutomationError(code, L"OrvBatchAnalyse engine",
                          L"Error " + std::to_wstring(code) + L": " + WithoutPasswordCodes(what));
}

template <class Users>
auto Find(Users& users, const std::wstring& name) {
    return std::find_if(users.begin(), users.end(),
                        [&](const TmUser& user) { return EqualsIgnoringCase(user.name, name); });
}

bool HashIsUsable(const std::string& hash) {
    return hash.size() < crypto_pwhash_STRBYTES && CostsAreBounded(hash);
}

// The TM at `path` read under its exclusive lock, which the caller keeps until it has written.
TranslationMemory ReadForRewrite(const std::wstring& path, TmFileLock& lock) {
    lock = TmFileLock::Take(path, TmFileLock::Kind::Exclusive);
    TranslationMemory tm = ReadTmxFile(path);
    // The file was there to read but not to lock a moment before.
    if (!lock.held()) lock = TmFileLock::Take(path, TmFileLock::Kind::Exclusive);
    return tm;
}

// Writes the TM file anew with `users` in its header and the rest of the file as it was.
void RewriteUsers(const std::wstring& path, const std::vector<TmUser>& users) {
    std::string tmx;
    try {
        tmx = ReadWholeFile(path, std::numeric_limits<std::uint64_t>::max());
    } catch (const FileFailure& failure) {
        RaiseEngineError(L"Cannot read the TM " + path + L" again: " +
                         FileProblemText(failure.problem()));
    }
    WriteTmxTextFile(TmxTextWithUsers(tmx, users, path), path);
}

}  // namespace

std::optional<std::wstring> TmUserNameFault(std::wstring_view name) {
    if (name.empty()) return L"a user name cannot be empty";
    if (name.size() > kLongestUserName)
        return L"a user name cannot be longer than " + std::to_wstring(kLongestUserName) +
               L" characters";
    if (name.find(L':') != std::wstring_view::npos)
        return L"a user name cannot contain a colon (:)";
    if (std::ranges::any_of(CodePoints(name), IsControlOrNonXml))
        return L"a user name cannot contain control characters";
    if (IsSpace(name.front()) || IsSpace(name.back()))
        return L"a user name cannot begin or end with a space";
    return std::nullopt;
}

const TmUser* FindTmUser(const std::vector<TmUser>& users, const std::wstring& name) {
    const auto found = Find(users, name);
    return found == users.end() ? nullptr : &*found;
}

std::string HashTmPassword(const std::wstring& password) {
    InitialiseSodium();
    const std::string utf8 = ToUtf8(password);
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.data(), utf8.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        RaiseEngineError(L"There is not enough memory to protect the password");
    }
    return hash;
}

bool TmPasswordMatches(const std::string& hash, const std::wstring& password) {
    InitialiseSodium();
    if (!HashIsUsable(hash)) return false;
    const std::string utf8 = ToUtf8(password);
    return crypto_pwhash_str_verify(hash.c_str(), utf8.data(), utf8.size()) == 0;
}

void CheckTmUser(const TranslationMemory& tm, const std::wstring& path, const std::wstring& user,
                 const std::wstring& password) {
    if (tm.users.empty()) return;
    const TmUser* known = FindTmUser(tm.users, user);
    if (known == nullptr) {
        RefuseUser(kUnknownTmUser,
                   L"the user \"" + user + L"\" is not a user of the translation memory " + path);
    }
    if (!HashIsUsable(known->passwordHash)) {
        RaiseEngineError(L"The password of the user \"" + user +
                         L"\" cannot be checked: the translation memory " + path +
                         L" holds a damaged or unknown kind of password hash");
    }
    if (!TmPasswordMatches(known->passwordHash, password)) {
        RefuseUser(kWrongTmPassword, L"wrong password for the user \"" + user +
                                         L"\" of the translation memory " + path);
    }
}

OpenedTm OpenTmxFile(const std::wstring& path, const std::wstring& user,
                     const std::wstring& password, TmFileLock::Kind kind, const StopCheck& stop) {
    OpenedTm opened;
    opened.lock = TmFileLock::Take(path, kind);
    opened.tm = ReadTmxFile(path, stop);
    // The file was there to read but not to lock a moment before.
    if (!opened.lock.held()) opened.lock = TmFileLock::Take(path, kind);
    CheckTmUser(opened.tm, path, user, password);
    return opened;
}

void AddTmUser(const std::wstring& tmxPath, const std::wstring& user,
               const std::wstring& password) {
    if (auto fault = TmUserNameFault(user)) {
        RaiseEngineError(L"Cannot add the user \"" + user + L"\" to the translation memory " +
                         tmxPath + L": " + *fault);
    }
    // Hashed before the TM is locked: it takes a noticeable moment.
    std::string hash = HashTmPassword(password);
    TmFileLock lock;
    TranslationMemory tm = ReadForRewrite(tmxPath, lock);
    if (const auto known = Find(tm.users, user); known != tm.users.end()) {
        known->passwordHash = std::move(hash);
    } else {
        tm.users.push_back({user, std::move(hash)});
    }
    RewriteUsers(tmxPath, tm.users);
}

bool RemoveTmUser(const std::wstring& tmxPath, const std::wstring& user) {
    TmFileLock lock;
    TranslationMemory tm = ReadForRewrite(tmxPath, lock);
    const auto known = Find(tm.users, user);
    if (known == tm.users.end()) return false;
    tm.users.erase(known);
    RewriteUsers(tmxPath, tm.users);
    return true;
}

std::vector<std::wstring> TmUserNames(const std::wstring& tmxPath) {
    // No lock: a TM file is only ever replaced whole, so what is read is one complete TM.
    std::vector<std::wstring> names;
    for (TmUser& user : ReadTmxFile(tmxPath).users) names.push_back(std::move(user.name));
    return names;
}

}  // namespace orv::engine
