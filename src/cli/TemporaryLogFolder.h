#pragma once
// Without --log the logs are only the way the results come back from the engine: they go to a
// folder of their own under TMPDIR (else /tmp; TEMP on Windows), open to the user alone, and go
// with everything in it when the run ends. A run thus leaves nothing in the current folder, works
// where that folder cannot be written, and never meets another run's logs.

#include <filesystem>

namespace orv::cli {

class TemporaryLogFolder {
public:
    // Makes the folder under the system's folder for temporary files (TMPDIR, else /tmp; on
    // Windows TEMP); throws std::runtime_error naming the parent when it cannot.
    TemporaryLogFolder();
    // The same under `parent`.
    explicit TemporaryLogFolder(const std::filesystem::path& parent);
    ~TemporaryLogFolder();
    TemporaryLogFolder(const TemporaryLogFolder&) = delete;
    TemporaryLogFolder& operator=(const TemporaryLogFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace orv::cli
