// orvbatch keeps the TM's match index in the user's cache folder, or in the folder that
// --index-cache names, and nowhere with --no-index-cache; a warm run prints what a cold one
// does.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ProgramRun.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;

std::size_t FilesIn(const fs::path& folder) {
    std::error_code missing;
    std::size_t files = 0;
    for (auto it = fs::recursive_directory_iterator(folder, missing);
         it != fs::recursive_directory_iterator(); ++it)
        files += it->is_regular_file() ? 1 : 0;
    return files;
}

class IndexCacheOption : public ::testing::Test {
protected:
    IndexCacheOption() {
        fs::copy_file(fs::path(ORV_EXAMPLES_DIR) / "memory.tmx", folder.path() / "memory.tmx");
        folder.Write("doc.txt", "The printer is ready to use.\nPress the red button now.\n");
    }

    ProgramResult Analyse(const std::vector<std::string>& more) const {
        std::vector<std::string> arguments = {"analyse", "--tm",     "memory.tmx", "--user",
                                              "demo",    "--target", "de-DE",      "--format",
                                              "csv",     "-q",       "doc.txt"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunOrvbatch(arguments, folder.path(), {{"XDG_CACHE_HOME", home().string()}});
    }
    fs::path home() const { return folder.path() / "home-cache"; }

    orv::test::TempFolder folder;
};

TEST_F(IndexCacheOption, EachWayOfChoosingTheCacheGivesTheSameResults) {
    const ProgramResult plain = Analyse({"--no-index-cache"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(FilesIn(home()), 0u);

    for (int run = 0; run < 2; ++run) {
        const ProgramResult defaulted = Analyse({});
        ASSERT_EQ(defaulted.exitCode, 0) << defaulted.err;
        EXPECT_EQ(defaulted.out, plain.out) << "run " << run;
    }
    EXPECT_EQ(FilesIn(home() / "orvbatch"), 2u) << "the languages and the German index";

    for (int run = 0; run < 2; ++run) {
        const ProgramResult chosen = Analyse({"--index-cache", "my cache"});
        ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
        EXPECT_EQ(chosen.out, plain.out) << "run " << run;
    }
    EXPECT_EQ(FilesIn(folder.path() / "my cache"), 2u);
    EXPECT_EQ(FilesIn(home() / "orvbatch"), 2u) << "nothing more in the default folder";
}

TEST_F(IndexCacheOption, BothOptionsAtOnceAreWrongUsage) {
    const ProgramResult both = Analyse({"--index-cache", "c", "--no-index-cache"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_NE(both.err.find("--no-index-cache"), std::string::npos) << both.err;
    EXPECT_FALSE(fs::exists(folder.path() / "c"));
}

}  // namespace
}  // namespace orv::cli::test
