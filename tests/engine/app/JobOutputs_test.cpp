// A job never writes over what it reads, however the output is spelled: the engine refuses
// before anything runs, for component clients as much as for orvbatch.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/JobTesting.h"
#include "engine/model/EngineError.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

using ::testing::HasSubstr;

class JobOutputs : public GoldenTmJob {};

TEST_F(JobOutputs, AnOutputReachingAnInputThroughAnyLinkIsRefusedAndNothingIsWritten) {
    fs::create_hard_link(In("memory.tmx"), In("tm-hard.tmx"));
    // Windows lets only administrators make symbolic links: a second hard link there.
    std::error_code noSymbolicLinks;
    fs::create_symlink(In("memory.tmx"), In("tm-soft.tmx"), noSymbolicLinks);
    if (noSymbolicLinks) fs::create_hard_link(In("memory.tmx"), In("tm-soft.tmx"));
    fs::create_hard_link(In("alpha.txt"), In("alpha-hard.txt"));
    const struct {
        std::string task;  // empty: the log is the output under test
        fs::path log;
        std::wstring role;
    } cases[] = {
        {ProjectTmLines(In("tm-hard.tmx")), In("run.log"), L"The project TM"},
        {ExportUnknownLines(100, In("tm-soft.tmx"), 1), In("run.log"),
         L"The export of unknown segments"},
        {ExportFrequentLines(1, In("alpha-hard.txt"), 1), In("run.log"),
         L"The export of frequent segments"},
        {"", In("tm-hard.tmx"), L"The log file"},
        {ProjectTmLines(In("run.log")), In("run.log"), L"The project TM"},
    };
    const std::string tmBefore = ReadBytes(In("memory.tmx"));
    const std::string alphaBefore = ReadBytes(In("alpha.txt"));
    for (const auto& c : cases) {
        SCOPED_TRACE(ToNarrow(c.role));
        std::vector<std::string> tasks;
        if (!c.task.empty()) tasks.push_back(c.task);
        const auto error = RaisedBy([&] {
            Execute(JobText({In("alpha.txt"), In("beta.txt")}, c.log, tasks));
        });
        ASSERT_TRUE(error) << "the job went ahead";
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(c.role));
        EXPECT_THAT(error->description(), HasSubstr(L"nothing was written"));
        EXPECT_EQ(app.control()->LastJobFailure(), error->description());
        EXPECT_EQ(ReadBytes(In("memory.tmx")), tmBefore);
        EXPECT_EQ(ReadBytes(In("alpha.txt")), alphaBefore);
        EXPECT_FALSE(fs::exists(In("run.csv")));
    }
}

}  // namespace
}  // namespace orv::engine::test

namespace orv::engine::test {
namespace {

// A component client sees the refusal as the failure of the analysis it knows.
TEST_F(GoldenAnalysis, AnExportOntoTheTmThroughAHardLinkFailsTheAnalysisAndKeepsTheTm) {
    fs::create_hard_link(folder.path() / "memory.tmx", folder.path() / "out/unknown.tmx");
    const std::string tmBefore = ReadBytes(folder.path() / "memory.tmx");
    ba.put_ExportUnknownFileName(folder.wpath("out/unknown.tmx"));
    ba.get_Files()->Add(folder.wpath("alpha.txt"));
    const auto error = RaisedBy([&] { ba.Analyse(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorDuringAnalysis);
    EXPECT_EQ(ReadBytes(folder.path() / "memory.tmx"), tmBefore);
    EXPECT_FALSE(fs::exists(folder.path() / "out/analysis.csv"));
}

}  // namespace
}  // namespace orv::engine::test
