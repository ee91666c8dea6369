#include "platform/NativeFile.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/AutomationError.h"
#include "platform/NativePath.h"

namespace orv {

namespace {

[[noreturn]] void RaiseOpenError(int error, const std::filesystem::path& path) {
    const std::error_code code(error, std::generic_category());
    std::error_code ignored;
    // Windows refuses a folder as "access denied"; it is no permission matter on either system.
    if (std::filesystem::is_directory(path, ignored)) RaiseRuntimeError(kErrPathFileAccess);
    if (code == std::errc::no_such_file_or_directory) RaiseRuntimeError(kErrFileNotFound);
    if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted) {
        RaiseRuntimeError(kErrPermissionDenied);
    }
    if (code == std::errc::invalid_argument || code == std::errc::filename_too_long) {
        RaiseRuntimeError(kErrBadFileName);
    }
    RaiseRuntimeError(kErrPathFileAccess);
}

}  // namespace

NativeFile::NativeFile(NativeFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        if (file_) std::fclose(file_);
        file_ = std::exchange(other.file_, nullptr);
    }
    return *this;
}

NativeFile::~NativeFile() {
    if (file_) std::fclose(file_);
}

NativeFile NativeFile::Open(const std::filesystem::path& path, Access access) {
    errno = 0;
    std::FILE* file = OpenNativeFile(path, access == Access::Read ? "rb" : "wb");
    if (!file) RaiseOpenError(errno, path);
    return NativeFile(file);
}

std::string NativeFile::ReadAll() {
    if (!file_) RaiseRuntimeError(kErrBadFileName);
    std::string bytes;
    char buffer[16384];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) {
        bytes.append(buffer, got);
    }
    if (std::ferror(file_)) RaiseRuntimeError(kErrPathFileAccess);
    return bytes;
}

void NativeFile::Write(std::string_view bytes) {
    if (!file_) RaiseRuntimeError(kErrBadFileName);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        RaiseRuntimeError(kErrPathFileAccess);
    }
}

void NativeFile::Close() {
    if (!file_) return;
    if (std::fclose(std::exchange(file_, nullptr)) != 0) RaiseRuntimeError(kErrPathFileAccess);
}

}  // namespace orv
