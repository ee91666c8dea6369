#include <string>

#include "cli/SystemQuestions.h"
#include "platform/win32/WindowsApi.h"

namespace orv::cli {

bool FolderIsWritable(const std::filesystem::path& folder) {
    // A name of this process's own, so that two runs checking one folder do not meet; the
    // system removes the file as its handle closes, also when the process ends first.
    const std::filesystem::path probe =
        folder / (L".orvbatch-write-check-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount64()));
    const HANDLE file = CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(file);
    return true;
}

std::tm LocalTime(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

}  // namespace orv::cli
