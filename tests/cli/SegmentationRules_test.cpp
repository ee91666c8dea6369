// orvbatch --segmentation-rules: an SRX file's rules split the documents, and a file that
// cannot be used stops the analysis with the engine's reason.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ProgramRun.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

using ::testing::HasSubstr;

const char kText[] = "One, two, three. Four, five.\n";

std::string Rules(const std::string& before) {
    return "<srx xmlns=\"http://www.lisa.org/srx20\" version=\"2.0\"><header cascade=\"no\"/>"
           "<body><languagerules><languagerule languagerulename=\"Commas\">"
           "<rule break=\"yes\"><beforebreak>" +
           before +
           "</beforebreak><afterbreak>\\s</afterbreak></rule></languagerule></languagerules>"
           "<maprules><languagemap languagepattern=\"en.*\" languagerulename=\"Commas\"/>"
           "</maprules></body></srx>";
}

ProgramResult Analyse(const orv::test::TempFolder& folder, const std::vector<std::string>& more) {
    std::vector<std::string> arguments = {"analyse", "--empty-tm", "--source", "en-US", "--target",
                                          "de-DE",   "--format",   "json",     "-q",    "doc.txt"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return RunOrvbatch(arguments, folder.path(), {{"TEMP", folder.path().string()}});
}

TEST(SegmentationRulesOption, TheFilesRulesSplitTheDocuments) {
    orv::test::TempFolder folder;
    folder.Write("doc.txt", kText);
    folder.Write("commas.srx", Rules(","));
    const ProgramResult builtIn = Analyse(folder, {});
    const ProgramResult own = Analyse(folder, {"--segmentation-rules", "commas.srx"});
    ASSERT_EQ(builtIn.exitCode, 0) << builtIn.err;
    ASSERT_EQ(own.exitCode, 0) << own.err;
    EXPECT_EQ(nlohmann::json::parse(builtIn.out).at("total").at("SegmentsTotal"), 2);
    EXPECT_EQ(nlohmann::json::parse(own.out).at("total").at("SegmentsTotal"), 5);
}

TEST(SegmentationRulesOption, ABadRuleIsRefusedBeforeAnythingRunsWithTheFileAndTheRuleNamed) {
    orv::test::TempFolder folder;
    folder.Write("doc.txt", kText);
    const std::string path = folder.Write("bad.srx", Rules("(,")).string();
    const ProgramResult run = Analyse(folder, {"--segmentation-rules", "bad.srx"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("The segmentation rules file \"" + path +
                                   "\" cannot be used: rule 1 of the language rules \"Commas\" "
                                   "(its beforebreak) has a bad regular expression \"(,\""));
    EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace orv::cli::test
