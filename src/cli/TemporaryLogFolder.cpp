#include "cli/TemporaryLogFolder.h"

#include <stdexcept>
#include <string>
#include <system_error>

#include "cli/PrivateFolder.h"
#include "cli/UniqueFolder.h"
#include "platform/NativePath.h"

namespace orv::cli {

TemporaryLogFolder::TemporaryLogFolder() : TemporaryLogFolder(TemporaryFilesFolder()) {}

TemporaryLogFolder::TemporaryLogFolder(const std::filesystem::path& parent) {
    try {
        path_ = MakeUniqueFolder(parent, "orvbatch-");
    } catch (const std::runtime_error& error) {
        throw std::runtime_error("cannot make a folder for the logs in \"" +
                                 NarrowPathText(parent) + "\": " + error.what() + " (set " +
                                 kTemporaryFilesVariable + ", or name a log with --log FILE)");
    }
}

TemporaryLogFolder::~TemporaryLogFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

}  // namespace orv::cli
