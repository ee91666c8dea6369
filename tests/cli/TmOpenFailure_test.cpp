// A TM that cannot be opened for an analysis, orvbatch run in its own process: besides the
// component's number the user reads the engine's own reason, with the line of a damaged file,
// and a TM that another run holds is said to be in use, not perhaps damaged.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "ProgramRun.h"
#include "engine/tm/TmFileLock.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;
using orv::test::ReadBytes;
using orv::test::TempFolder;
using ::testing::HasSubstr;
using ::testing::Not;

// The example memory's first `lines` lines, each ended by CR LF: a file cut short by a copy.
std::string ExampleCutShort(int lines) {
    std::istringstream in(ReadBytes(fs::path(ORV_EXAMPLES_DIR) / "memory.tmx"));
    std::string cut, line;
    for (int n = 0; n < lines && std::getline(in, line); ++n) cut += line + "\r\n";
    return cut;
}

TEST(TmOpenFailure, TheEngineSaysWhyWithTheLastLineOfACutFileOrThatTheTmIsInUse) {
    TempFolder folder;
    fs::create_directory(folder.path() / "tmp");
    folder.Write("doc.txt", "Open the file menu.\n");
    const fs::path cut = folder.Write("cut.tmx", ExampleCutShort(99));
    const fs::path held = folder.path() / "held.tmx";
    fs::copy_file(fs::path(ORV_EXAMPLES_DIR) / "memory.tmx", held);
    // Another run's lock: a lock of this process's is another process's to orvbatch.
    const engine::TmFileLock lock =
        engine::TmFileLock::Take(FromNarrow(held.string()), engine::TmFileLock::Kind::Exclusive);
    ASSERT_TRUE(lock.held()) << "the file system of the temporary folder has no locks";

    const struct {
        fs::path tm;
        std::string reason;
    } cases[] = {
        {cut, "orvbatch: the engine reported: Cannot read TM " + cut.string() + ": line 99: "},
        {held,
         "orvbatch: the engine reported: The translation memory is in use by another "
         "process: " +
             held.string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tm);
        const auto run = RunOrvbatch(
            {"analyse", "--tm", c.tm.string(), "--user", "anna", "--target", "de-DE", "doc.txt"},
            folder.path(),
            {{"TEMP", (folder.path() / "tmp").string()}, {"ORVBATCH_TM_PASSWORD", ""}});
        EXPECT_EQ(run.exitCode, 1);
        // The component's own message is as it always was.
        EXPECT_THAT(run.err, HasSubstr("orvbatch: error 40006: Unknown error\n"));
        EXPECT_THAT(run.err, HasSubstr(c.reason));
        EXPECT_THAT(run.err, Not(HasSubstr("damaged, not a TMX file")));
    }
}

}  // namespace
}  // namespace orv::cli::test
