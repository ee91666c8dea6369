#include "cli/report/JsonResult.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ReportBatches.h"
#include "platform/NarrowText.h"

namespace orv::test {
namespace {

using nlohmann::json;

// The interface's names of a record's members, spelt out here so that a renamed or forgotten
// field shows up as a difference.
std::vector<std::string> FieldNames() {
    std::vector<std::string> names = {
        "FilePath",      "Key",           "FileProcessed", "ProcessingError", "CharsPerWord",
        "TaggingErrors", "SegmentsTotal", "WordsTotal",    "PlaceablesTotal", "CharactersTotal"};
    for (const char* band : {"Repetitions", "100Matches", "95Matches", "85Matches", "75Matches",
                             "50Matches", "Relay", "NoMatches"}) {
        for (const char* measure : {"Segments", "Words", "Placeables", "Percent"}) {
            names.push_back(std::string(measure) + "In" + band);
        }
    }
    return names;
}

Files SampleBatch() {
    Files files;
    AddProcessed(files, L"/docs/\u00fcbersicht \u65e5\u672c \"q\".txt",
                 {10, 20, 30, 0, 0, 0, 5, 35}, 2)
        ->put_CharsPerWord(4.25);
    AddFailed(files, L"/docs/failed.txt");
    return files;
}

TEST(JsonResultTest, EveryDocumentAndTheTotalCarryEveryRecordField) {
    const json result = cli::ResultJson(cli::SummariseBatch(SampleBatch()));
    ASSERT_EQ(result["documents"].size(), 2u);
    std::vector<json> objects = {result["documents"][0], result["documents"][1], result["total"]};
    for (const json& object : objects) {
        EXPECT_EQ(object.size(), FieldNames().size());
        for (const auto& name : FieldNames()) EXPECT_TRUE(object.contains(name)) << name;
    }
    const json& first = objects[0];
    EXPECT_EQ(first["WordsIn95Matches"], 30);
    EXPECT_EQ(first["PercentIn95Matches"], 30);
    EXPECT_EQ(first["WordsInRelay"], 5);
    EXPECT_EQ(first["SegmentsTotal"], 1 + 2 + 3 + 1 + 4);
    EXPECT_EQ(first["TaggingErrors"], 2);
    EXPECT_EQ(first["CharsPerWord"], 4.25);
    EXPECT_EQ(first["FileProcessed"], true);
    EXPECT_EQ(objects[1]["FileProcessed"], false);
    EXPECT_EQ(objects[1]["ProcessingError"], true);
    EXPECT_EQ(objects[2]["WordsTotal"], 100);
    EXPECT_EQ(objects[2]["ProcessingError"], true);
}

TEST(JsonResultTest, TheWrittenTextParsesBackToTheSameValueWithUtf8Names) {
    const auto summary = cli::SummariseBatch(SampleBatch());
    std::ostringstream out;
    cli::WriteResultJson(out, summary);
    const json parsed = json::parse(out.str());
    EXPECT_EQ(parsed, cli::ResultJson(summary));
    EXPECT_EQ(parsed["documents"][0]["FilePath"].get<std::string>(),
              "/docs/\xc3\xbc"
              "bersicht \xe6\x97\xa5\xe6\x9c\xac \"q\".txt");
}

TEST(JsonResultTest, ValuesTheLogLackedAreNullNotMinusOne) {
    TempFolder folder;
    Files files;
    const std::wstring path = folder.wpath("a.txt");
    files.Add(path, L"k\u00e9y");
    ParseLogRows(folder, files, ToNarrow(path) + ";0;5.5;2;10;0;5;8;190;3;95;10;200;1100;3\r\n");
    files.Item(1)->put_CharsPerWord(-1.0);
    const json result = cli::ResultJson(cli::SummariseBatch(files));
    const json& document = result["documents"][0];
    EXPECT_EQ(document["Key"], "k\xc3\xa9y");
    EXPECT_TRUE(document["WordsInRelay"].is_null());
    EXPECT_TRUE(document["PercentIn50Matches"].is_null());
    EXPECT_TRUE(document["CharsPerWord"].is_null());
    EXPECT_EQ(document["WordsIn100Matches"], 190);
    EXPECT_TRUE(result["total"]["WordsInRelay"].is_null());
    EXPECT_EQ(result["total"]["WordsTotal"], 200);
}

}  // namespace
}  // namespace orv::test
