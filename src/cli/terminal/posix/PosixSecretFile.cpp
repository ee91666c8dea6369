#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string_view>

#include "cli/terminal/SecretBytes.h"
#include "cli/terminal/SecretFile.h"
#include "cli/terminal/posix/OwnedDescriptor.h"

namespace orv::cli {
const char kMakeSecretFilePrivate[] = "chmod 600 makes it private";

std::string ReadFirstLineOfSecretFile(const std::filesystem::path& file, std::size_t longest) {
    OwnedDescriptor input(open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (input.get() < 0) throw std::runtime_error(strerror(errno));
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(input.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            WipeSecret(bytes);
            throw std::runtime_error(strerror(error));
        }
        if (n == 0) break;
        const std::string_view chunk(buffer, static_cast<std::size_t>(n));
        const std::size_t lineEnd = chunk.find('\n');
        bytes.append(chunk.substr(0, lineEnd));
        WipeSecret(buffer, sizeof buffer);
        if (bytes.size() > longest || lineEnd != std::string_view::npos) break;
    }
    return bytes;
}

bool SecretFileReadableByOthers(const std::filesystem::path& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return (info.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

}  // namespace orv::cli
