#include "jobfile/modTools.h"

#include "platform/AutomationError.h"

namespace orv::modTools {

std::wstring QuotePath(std::wstring strPath) {
    // Only the space itself is trimmed: a tab or other blank belongs to the path.
    const auto first = strPath.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        strPath.clear();
    } else {
        strPath.erase(strPath.find_last_not_of(L' ') + 1);
        strPath.erase(0, first);
    }
    if (strPath.empty() || strPath.front() != L'"') strPath.insert(strPath.begin(), L'"');
    if (strPath.back() != L'"') strPath.push_back(L'"');
    return strPath;
}

std::wstring GetUniqueTempFileName(const Platform& platform, const FileSystem& fileSystem) {
    // Only an empty value passes on to the next choice; a TEMP naming a missing folder is
    // used as it is, and fails below.
    std::wstring folder = platform.GetEnvironmentVariable(L"TEMP");
    if (folder.empty()) folder = platform.GetEnvironmentVariable(L"TMP");
    if (folder.empty()) folder = platform.GetFallbackTempFolder();

    bool folderExists = false;
    try {
        folderExists = fileSystem.FolderExists(folder);
    } catch (const AutomationError&) {
        // A folder that cannot even be tested is no place for the file: report no name.
        folderExists = false;
    }
    if (!folderExists) return {};

    return platform.CreateUniqueTempFile(folder, L"ORV");
}

std::wstring GetUniqueTempFileName() {
    return GetUniqueTempFileName(*DefaultPlatform(), *DefaultFileSystem());
}

bool IsWin9x(const Platform& platform) {
    thread_local bool known = false;
    thread_local bool answer = false;
    if (!known) {
        answer = platform.GetOsFamily() == OsFamily::Windows9x;
        known = true;
    }
    return answer;
}

bool IsWin9x() {
    return IsWin9x(*DefaultPlatform());
}

}  // namespace orv::modTools
