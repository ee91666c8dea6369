#include "engine/tm/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace orv::engine {
namespace {

[[noreturn]] void ThrowErrno(int error, const char* step) {
    throw std::system_error(error, std::generic_category(), step);
}

// Owns the temporary file until it is renamed: every other way out closes and removes it.
class TemporaryBeside {
public:
    explicit TemporaryBeside(const std::string& target) {
        static thread_local std::mt19937_64 random{std::random_device{}()};
        for (int attempt = 0; attempt < 8; ++attempt) {
            name_ = target + "." + std::to_string(random() % 1000000u) + ".tmp";
            // O_EXCL: never a file that someone else created under the same name.
            descriptor_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor_ >= 0) return;
            if (errno != EEXIST) break;
        }
        ThrowErrno(errno, "create");
    }
    ~TemporaryBeside() {
        if (descriptor_ >= 0) ::close(descriptor_);
        // Nothing more can be done about a leftover here.
        if (!committed_) ::unlink(name_.c_str());
    }
    TemporaryBeside(const TemporaryBeside&) = delete;
    TemporaryBeside& operator=(const TemporaryBeside&) = delete;

    int descriptor() const { return descriptor_; }
    const std::string& name() const { return name_; }
    void Close() {
        const int result = ::close(descriptor_);
        descriptor_ = -1;
        if (result != 0) ThrowErrno(errno, "close");
    }
    void Commit() { committed_ = true; }

private:
    std::string name_;
    int descriptor_ = -1;
    bool committed_ = false;
};

void WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno, "write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

void ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) ThrowErrno(ENOENT, "open");
    TemporaryBeside temporary(path);
    struct stat replaced {};
    if (::stat(path.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode))
        ::fchmod(temporary.descriptor(), replaced.st_mode & 07777);
    WriteAll(temporary.descriptor(), bytes);
    // Without it a crash soon after the rename could leave the new name on an empty file.
    if (::fsync(temporary.descriptor()) != 0 && errno != EINVAL) ThrowErrno(errno, "fsync");
    temporary.Close();
    if (::rename(temporary.name().c_str(), path.c_str()) != 0) ThrowErrno(errno, "rename");
    temporary.Commit();
}

}  // namespace orv::engine
