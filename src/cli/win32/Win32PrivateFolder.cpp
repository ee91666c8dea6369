#include <stdexcept>

#include "cli/PrivateFolder.h"
#include "cli/win32/Win32ErrorText.h"
#include "platform/win32/WindowsApi.h"

// After <windows.h>, which it needs.
#include <sddl.h>

namespace orv::cli {
namespace {

// Full control for the folder's owner and the system, passed on to what is made inside,
// nothing taken from the parent: the logs list the documents' paths.
constexpr wchar_t kOwnerAndSystemOnly[] = L"D:P(A;OICI;FA;;;OW)(A;OICI;FA;;;SY)";

}  // namespace

const char kTemporaryFilesVariable[] = "TEMP";

std::filesystem::path TemporaryFilesFolder() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return std::filesystem::temp_directory_path();
    return std::filesystem::path(std::wstring(folder, length));
}

bool MakePrivateFolder(const std::filesystem::path& path) {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // A system that cannot read the list makes the folder with its parent's permissions: the
    // user's own under the user's profile, where the temporary files go by default.
    const bool own = ConvertStringSecurityDescriptorToSecurityDescriptorW(
                         kOwnerAndSystemOnly, SDDL_REVISION_1, &descriptor, nullptr) != FALSE;
    attributes.lpSecurityDescriptor = own ? descriptor : nullptr;
    const BOOL made = CreateDirectoryW(path.c_str(), &attributes);
    const DWORD error = made ? ERROR_SUCCESS : GetLastError();
    if (descriptor != nullptr) LocalFree(descriptor);
    if (made) return true;
    if (error == ERROR_ALREADY_EXISTS) return false;
    throw std::runtime_error(Win32ErrorText(error));
}

}  // namespace orv::cli
