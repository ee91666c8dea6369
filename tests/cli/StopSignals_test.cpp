// The signals that stop a run (Ctrl-C, SIGTERM from a service manager, SIGHUP from a closed
// terminal) cancel the batch and clean up, orvbatch run in its own process; and the job file,
// which lists the document paths, never lands in the current folder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "GeneratedInputs.h"
#include "ProgramRun.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;
using orv::test::ReadBytes;
using orv::test::TempFolder;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<fs::path> JobFilesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("ORV", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".TMP")
            found.push_back(entry.path());
    }
    return found;
}

// Polls until `done` holds or the program ends or the time runs out; whether `done` held.
template <typename Condition>
bool WaitFor(RunningProgram& program, std::chrono::milliseconds limit, Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (!program.Running() || std::chrono::steady_clock::now() > deadline) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs from a read-only folder with neither TEMP nor TMP set, as a service or cron job may.
class StopSignals : public ::testing::Test {
protected:
    StopSignals() {
        fs::copy_file(fs::path(ORV_EXAMPLES_DIR) / "memory.tmx", folder.path() / "memory.tmx");
        fs::create_directories(work);
        fs::create_directories(tmpdir);
        fs::create_directories(folder.path() / "out");
        fs::permissions(work, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ~StopSignals() override { fs::permissions(work, fs::perms::owner_all); }

    std::map<std::string, std::string> Environment(bool withTmpdir) const {
        return {{"TEMP", ""},
                {"TMP", ""},
                {"TMPDIR", withTmpdir ? tmpdir.string() : ""},
                {"ORVBATCH_TM_PASSWORD", ""}};
    }

    std::vector<std::string> Analyse(const std::string& documents) const {
        return {"analyse", "--tm",  (folder.path() / "memory.tmx").string(),
                "--user",  "anna",  "--target",
                "de-DE",   "--log", (folder.path() / "out/analysis.log").string(),
                documents};
    }

    TempFolder folder;
    const fs::path work = folder.path() / "work";
    const fs::path tmpdir = folder.path() / "tmpdir";
};

TEST_F(StopSignals, EachStopSignalCancelsCleansUpAndExitsWith128PlusItsNumber) {
    WriteLargeBatch(folder.path() / "large", 1000);
    const std::string tmBefore = ReadBytes(folder.path() / "memory.tmx");
    for (int signalNumber : {SIGTERM, SIGHUP}) {  // Ctrl-C: Orvbatch_test
        SCOPED_TRACE(strsignal(signalNumber));
        RunningProgram program(Analyse((folder.path() / "large").string()), work,
                               Environment(true));
        // The job file appears in TMPDIR when the component hands the batch to the engine.
        ASSERT_TRUE(WaitFor(program, std::chrono::seconds(20), [&] {
            return !JobFilesIn(tmpdir).empty();
        })) << "no job file in TMPDIR";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        program.Signal(signalNumber);
        const auto result = program.Wait();

        EXPECT_EQ(result.termSignal, 0);
        EXPECT_EQ(result.exitCode, 128 + signalNumber) << result.err;
        EXPECT_THAT(result.err, ContainsRegex("cancelled; [0-9]+ of 1000 documents were finished"));
        EXPECT_TRUE(JobFilesIn(tmpdir).empty());
        EXPECT_TRUE(fs::is_empty(work));
        EXPECT_FALSE(fs::exists(folder.path() / "out/analysis.csv"));
        EXPECT_EQ(ReadBytes(folder.path() / "memory.tmx"), tmBefore);
    }
}

TEST_F(StopSignals, WithoutTempTmpOrTmpdirTheJobFileGoesToTmpAndTheRunWorks) {
    WriteLargeBatch(folder.path() / "batch", 200);
    std::set<fs::path> earlier;
    for (const auto& file : JobFilesIn("/tmp")) earlier.insert(file);

    RunningProgram program(Analyse((folder.path() / "batch").string()), work, Environment(false));
    // Watched while it runs: the job file is deleted at the end. (Root writes to a
    // read-only folder too, so its staying empty alone would prove nothing.)
    bool inCurrentFolder = false, inTmp = false;
    while (program.Running()) {
        inCurrentFolder = inCurrentFolder || !JobFilesIn(work).empty();
        for (const auto& file : JobFilesIn("/tmp")) inTmp = inTmp || earlier.count(file) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const auto result = program.Wait();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_FALSE(inCurrentFolder);
    EXPECT_TRUE(inTmp);
    EXPECT_TRUE(fs::is_empty(work));
    EXPECT_TRUE(fs::exists(folder.path() / "out/analysis.csv"));
}

TEST_F(StopSignals, WithoutALogTheRunKeepsItsLogsInAPrivateFolderAndLeavesNothing) {
    folder.Write("doc.txt", "Open the file menu.\n");
    const auto result =
        RunningProgram({"analyse", "--tm", (folder.path() / "memory.tmx").string(), "--user",
                        "anna", "--target", "de-DE", (folder.path() / "doc.txt").string()},
                       work, Environment(true))
            .Wait();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("1 of 1 documents processed"));
    EXPECT_THAT(result.err, Not(HasSubstr("Log:")));  // there is none to name
    EXPECT_TRUE(fs::is_empty(work));
    EXPECT_TRUE(fs::is_empty(tmpdir));  // the logs' folder and the job file went with the run
}

TEST_F(StopSignals, CtrlCWhileALargeTmLoadsEndsTheRunAtOnce) {
    // Reading and indexing it takes about 1.5 s on a two-core machine, most of it indexing; a
    // cancel used to wait for the end of both.
    WriteLargeTmx(folder.path() / "large.tmx", 200000);
    folder.Write("doc.txt", "Select an option in the settings window.\n");
    const std::string tmBefore = ReadBytes(folder.path() / "large.tmx");
    for (const int afterMs : {200, 700}) {  // reading the TMX; building the index
        SCOPED_TRACE(afterMs);
        RunningProgram program(
            {"analyse", "--tm", (folder.path() / "large.tmx").string(), "--user", "anna",
             "--target", "de-DE", "--log", (folder.path() / "out/analysis.log").string(),
             (folder.path() / "doc.txt").string()},
            work, Environment(true));
        // The times count from the moment the run can be cancelled, not from the start.
        ASSERT_TRUE(program.WaitUntilItCatches(SIGINT, std::chrono::seconds(20)));
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        ASSERT_TRUE(program.Running()) << "done before the signal: make the TM larger";
        const auto signalled = std::chrono::steady_clock::now();
        program.Signal(SIGINT);
        const auto result = program.Wait();
        const auto took = std::chrono::steady_clock::now() - signalled;

        EXPECT_LT(took, std::chrono::seconds(1));
        EXPECT_EQ(result.exitCode, 130) << result.err;
        EXPECT_THAT(result.err, HasSubstr("cancelled; 0 of 1 documents were finished"));
        EXPECT_TRUE(JobFilesIn(tmpdir).empty());
        EXPECT_FALSE(fs::exists(folder.path() / "out/analysis.csv"));
        EXPECT_EQ(ReadBytes(folder.path() / "large.tmx"), tmBefore);
    }
}

}  // namespace
}  // namespace orv::cli::test
