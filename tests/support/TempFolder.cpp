#include "support/TempFolder.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/NativePath.h"

namespace orv::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    const fs::path base = fs::temp_directory_path();
    std::random_device random;
    // create_directory makes the folder only when the name is free, so two tests (or two
    // processes) never share one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("orvtest-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path_ = candidate;
            fs::permissions(path_, fs::perms::owner_all, fs::perm_options::replace, error);
            return;
        }
        if (error) throw std::runtime_error("cannot make a folder in " + base.string());
    }
    throw std::runtime_error("no free folder name in " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code ignored;  // a test that failed half-way must not also fail here
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::wstring TempFolder::wpath(const std::string& relative) const {
    return FromNativePath(relative.empty() ? path_ : path_ / relative);
}

std::filesystem::path TempFolder::Write(const std::string& relative,
                                        const std::string& bytes) const {
    auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + file.string());
    return file;
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::filesystem::path OnDisk(const std::wstring& path) {
    auto native = ToNativePath(path);
    if (!native) throw std::invalid_argument("the text names no path of this system");
    return *native;
}

}  // namespace orv::test
