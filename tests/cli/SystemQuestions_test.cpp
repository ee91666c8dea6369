// Whether a folder may be written, as the analysis command asks before it runs.

#include "cli/SystemQuestions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempFolder.h"

namespace orv::cli {
namespace {

TEST(SystemQuestions, AWritableFolderIsSaidToBeSoAndIsLeftAsItWas) {
    test::TempFolder folder;
    EXPECT_TRUE(FolderIsWritable(folder.path()));
    // Where the check makes a file of its own, the file is gone again.
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_FALSE(FolderIsWritable(folder.path() / "missing"));
}

}  // namespace
}  // namespace orv::cli
