// On POSIX the logs' folder is the user's alone from the moment it exists: the logs list the
// documents' paths.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/PrivateFolder.h"
#include "cli/TemporaryLogFolder.h"
#include "support/TempFolder.h"

namespace orv::cli {
namespace {

namespace fs = std::filesystem;

TEST(PosixPrivateFolder, IsMadeForItsOwnerAloneWhateverTheUmaskAndNeverOverAnother) {
    test::TempFolder parent;
    const TemporaryLogFolder logs(parent.path());
    EXPECT_EQ(fs::status(logs.path()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_FALSE(MakePrivateFolder(logs.path()));
    EXPECT_FALSE(MakePrivateFolder(parent.Write("file", "")));
}

}  // namespace
}  // namespace orv::cli
