// The private folder a run keeps its logs in: made new under a folder others share, never one
// that is there already, and gone with everything in it when the run ends.

#include "cli/UniqueFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cli/TemporaryLogFolder.h"
#include "support/TempFolder.h"

namespace orv::cli {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using testing::HasSubstr;

// Names drawn from a script, then "zzzzzz" for ever.
RandomName Scripted(std::vector<std::string> names) {
    auto next = std::make_shared<std::size_t>(0);
    return [names = std::move(names), next](std::size_t) {
        return *next < names.size() ? names[(*next)++] : std::string("zzzzzz");
    };
}

std::set<fs::path> Entries(const fs::path& folder) {
    std::set<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder)) entries.insert(entry.path());
    return entries;
}

TEST(UniqueFolder, FoldersMadeAtTheSameTimeNeverShareANameAndAllExist) {
    TempFolder parent;
    constexpr int kEach = 60;
    std::vector<fs::path> made[2];
    std::thread others([&] {
        for (int i = 0; i < kEach; ++i) made[1].push_back(MakeUniqueFolder(parent.path(), "run-"));
    });
    for (int i = 0; i < kEach; ++i) made[0].push_back(MakeUniqueFolder(parent.path(), "run-"));
    others.join();
    std::set<fs::path> distinct(made[0].begin(), made[0].end());
    distinct.insert(made[1].begin(), made[1].end());
    EXPECT_EQ(distinct.size(), 2u * kEach);
    EXPECT_EQ(Entries(parent.path()), distinct);
    for (const fs::path& folder : distinct) {
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
        EXPECT_TRUE(fs::is_empty(folder)) << folder;
        EXPECT_EQ(folder.filename().string().substr(0, 4), "run-");
        EXPECT_EQ(folder.filename().string().size(), 4u + 6u) << folder;
    }
}

TEST(UniqueFolder, ANameThatIsTakenIsNeverReusedButAnotherIsDrawn) {
    TempFolder parent;
    // Planted by someone else: a folder with a file in it, and a file.
    parent.Write("log-aaaaaa/planted.txt", "theirs");
    parent.Write("log-bbbbbb", "theirs too");
    const fs::path made =
        MakeUniqueFolder(parent.path(), "log-", Scripted({"aaaaaa", "bbbbbb", "cccccc"}));
    EXPECT_EQ(made, parent.path() / "log-cccccc");
    EXPECT_TRUE(fs::is_empty(made));
    EXPECT_EQ(test::ReadBytes(parent.path() / "log-aaaaaa/planted.txt"), "theirs");
    EXPECT_EQ(test::ReadBytes(parent.path() / "log-bbbbbb"), "theirs too");
}

TEST(UniqueFolder, FailureMakesNothingAndSaysWhy) {
    TempFolder parent;
    parent.Write("log-zzzzzz", "");
    const std::set<fs::path> before = Entries(parent.path());
    try {
        MakeUniqueFolder(parent.path(), "log-", Scripted({}));
        ADD_FAILURE() << "a taken name was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), HasSubstr("every name tried is taken"));
    }
    EXPECT_EQ(Entries(parent.path()), before);

    const fs::path missing = parent.path() / "missing";
    EXPECT_THROW(MakeUniqueFolder(missing, "log-"), std::runtime_error);
    EXPECT_FALSE(fs::exists(missing));
    // A file where the parent should be.
    EXPECT_THROW(MakeUniqueFolder(parent.path() / "log-zzzzzz", "log-"), std::runtime_error);
    EXPECT_EQ(Entries(parent.path()), before);
}

TEST(TemporaryLogFolder, GoesWithEverythingInItAndAFailureNamesTheParentAndTheWayOut) {
    TempFolder parent;
    fs::path made;
    {
        const TemporaryLogFolder logs(parent.path());
        made = logs.path();
        EXPECT_EQ(made.parent_path(), parent.path());
        EXPECT_THAT(made.filename().string(), testing::StartsWith("orvbatch-"));
        std::filesystem::create_directories(made / "inner");
        std::ofstream(made / "inner" / "analysis.log") << "rows";
    }
    EXPECT_FALSE(fs::exists(made));
    EXPECT_TRUE(fs::is_empty(parent.path()));

    const fs::path missing = parent.path() / "no such folder";
    try {
        const TemporaryLogFolder logs(missing);
        ADD_FAILURE() << "made in a missing folder: " << logs.path();
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), HasSubstr(missing.string()));
        EXPECT_THAT(error.what(), HasSubstr("--log FILE"));
    }
    EXPECT_TRUE(fs::is_empty(parent.path()));
}

}  // namespace
}  // namespace orv::cli
