#include "ExampleFolder.h"

#include <filesystem>
#include <utility>

namespace orv::cli::test {

namespace fs = std::filesystem;

ExampleFolder::ExampleFolder() {
    fs::copy(ORV_EXAMPLES_DIR, folder.path() / "ex", fs::copy_options::recursive);
    fs::create_directory(folder.path() / "tmp");
}

std::map<std::string, std::string> ExampleFolder::Environment(
    std::map<std::string, std::string> more) const {
    more.emplace("TEMP", (folder.path() / "tmp").string());
    more.emplace("ORVBATCH_TM_PASSWORD", "");
    return more;
}

ProgramResult ExampleFolder::Run(const std::vector<std::string>& arguments,
                                 std::map<std::string, std::string> environment,
                                 const std::string& input) const {
    return RunOrvbatch(arguments, folder.path(), Environment(std::move(environment)), input);
}

}  // namespace orv::cli::test
