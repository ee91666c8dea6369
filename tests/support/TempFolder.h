#pragma once
// A real, empty folder under the system's temporary directory, removed with everything in
// it when the test ends.

#include <filesystem>
#include <string>

namespace orv::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder, or a path inside it, as an automation string.
    std::wstring wpath(const std::string& relative = "") const;

    // Writes `bytes` to a file inside the folder and returns its path.
    std::filesystem::path Write(const std::string& relative, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file, byte for byte.
std::string ReadBytes(const std::filesystem::path& file);

// The OS's path for an automation string, as the component's file operations convert it;
// throws std::invalid_argument for a text that names no path.
std::filesystem::path OnDisk(const std::wstring& path);

}  // namespace orv::test
