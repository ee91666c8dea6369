#include <stdexcept>
#include <string_view>

#include "cli/terminal/SecretBytes.h"
#include "cli/terminal/SecretFile.h"
#include "cli/terminal/win32/OwnedHandle.h"
#include "cli/win32/Win32ErrorText.h"
#include "platform/win32/WindowsApi.h"

// After <windows.h>, which it needs.
#include <aclapi.h>

namespace orv::cli {
namespace {

// The groups whose members are, for a password, "others": anyone at all, anyone who logged
// on, every user of the machine.
constexpr WELL_KNOWN_SID_TYPE kEveryoneGroups[] = {WinWorldSid, WinAuthenticatedUserSid,
                                                   WinBuiltinUsersSid};

bool IsEveryoneGroup(PSID sid) {
    for (const WELL_KNOWN_SID_TYPE group : kEveryoneGroups) {
        BYTE buffer[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof buffer;
        if (CreateWellKnownSid(group, nullptr, buffer, &size) && EqualSid(sid, buffer)) return true;
    }
    return false;
}

constexpr ACCESS_MASK kReadRights = FILE_READ_DATA | GENERIC_READ | GENERIC_ALL;

}  // namespace

const char kMakeSecretFilePrivate[] =
    "its Properties, Security tab, can make it your account's alone";

std::string ReadFirstLineOfSecretFile(const std::filesystem::path& file, std::size_t longest) {
    // Shared for writing too: a password manager may hold the file open while it is read.
    OwnedHandle input(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (input.get() == INVALID_HANDLE_VALUE)
        throw std::runtime_error(Win32ErrorText(GetLastError()));
    std::string bytes;
    char buffer[4096];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(input.get(), buffer, sizeof buffer, &n, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE) break;  // the writer of a pipe is done
            WipeSecret(bytes);
            throw std::runtime_error(Win32ErrorText(error));
        }
        if (n == 0) break;
        const std::string_view chunk(buffer, n);
        const std::size_t lineEnd = chunk.find('\n');
        bytes.append(chunk.substr(0, lineEnd));
        WipeSecret(buffer, sizeof buffer);
        if (bytes.size() > longest || lineEnd != std::string_view::npos) break;
    }
    return bytes;
}

bool SecretFileReadableByOthers(const std::filesystem::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    // No access list at all lets everyone in. A denying entry is not weighed against an
    // allowing one: for a warning, once too often is the safe side.
    bool readable = dacl == nullptr;
    for (DWORD i = 0; dacl != nullptr && !readable && i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(dacl, i, &entry)) continue;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        readable = (allowed->Mask & kReadRights) != 0 && IsEveryoneGroup(&allowed->SidStart);
    }
    LocalFree(descriptor);
    return readable;
}

}  // namespace orv::cli
