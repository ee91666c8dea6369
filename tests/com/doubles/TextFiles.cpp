#include "TextFiles.h"

#include <windows.h>

#include <string>
#include <vector>

#include "com/objects/DispatchError.h"

namespace orv::testdoubles {

using com::objects::DispatchError;
namespace {

constexpr int32_t kErrFileNotFound = 53;
constexpr int32_t kErrPathFileAccess = 75;
constexpr int32_t kErrPathNotFound = 76;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    void Close() {
        if (valid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                        nullptr, nullptr);
    return narrow;
}

std::wstring FromAnsi(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return wide;
}

}  // namespace

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ReadAnsiTextFile(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) throw DispatchError::Exception(kErrFileNotFound, L"File not found: " + path);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    for (;;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
            throw DispatchError::Exception(kErrPathFileAccess, L"Cannot read " + path);
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return FromAnsi(bytes);
}

void WriteAnsiTextFile(const std::wstring& path, const std::wstring& text) {
    const std::wstring partial = path + L".partial";
    FileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        throw DispatchError::Exception(
            error == ERROR_PATH_NOT_FOUND ? kErrPathNotFound : kErrPathFileAccess,
            L"Cannot write " + path);
    }
    const std::string bytes = ToAnsi(text);
    DWORD written = 0;
    const bool complete =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    file.Close();
    if (!complete || !MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(partial.c_str());
        throw DispatchError::Exception(kErrPathFileAccess, L"Cannot write " + path);
    }
}

}  // namespace orv::testdoubles
