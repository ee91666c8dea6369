#include "cli/TemporaryLogFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

namespace orv::cli {

TemporaryLogFolder::TemporaryLogFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::filesystem::path parent = tmpdir && *tmpdir ? tmpdir : "/tmp";
    std::string name = (parent / "orvbatch-XXXXXX").string();
    // mkdtemp makes it with mode 0700: the logs list the documents' paths.
    if (::mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot make a folder for the logs in \"" + parent.string() +
                                 "\": " + std::strerror(errno) +
                                 " (set TMPDIR, or name a log with --log FILE)");
    path_ = name;
}

TemporaryLogFolder::~TemporaryLogFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

}  // namespace orv::cli
