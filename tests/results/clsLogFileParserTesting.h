#pragma once
// Shared pieces of the parser tests: a CSV log file in the layout the analysis writes, and a
// fixture that writes it beside "run.log" in a real temporary folder and parses it.

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>

#include "platform/AutomationError.h"
#include "results/Files.h"
#include "results/clsLogFileParser.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

namespace orv::test {

// The two header lines of a log with the bands repetitions, 100% matches and total.
inline const std::string kHeader1 = ";;;Repetitions;;;;100% Matches;;;;Total;;;";
inline const std::string kHeader2 =
    "File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;Words;"
    "Placeables;Percent;Segments;Words;Characters;Placeables";

// A data row for those headers: tagging errors 0, chars/word 5.5 and the counts below.
inline std::string Row(const std::string& file, const std::string& taggingErrors = "0",
                       const std::string& charsPerWord = "5.5") {
    return file + ";" + taggingErrors + ";" + charsPerWord + ";2;10;0;5;8;190;3;95;10;200;1100;3";
}

// Lines joined by CR LF, with a break after the last one as the analysis writes it.
inline std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// What Row() puts into a record; every other count field is -1.
inline std::map<CountField, int32_t> RowCounts() {
    return {{CountField::TaggingErrors, 0},        {CountField::SegmentsInRepetitions, 2},
            {CountField::WordsInRepetitions, 10},  {CountField::PlaceablesInRepetitions, 0},
            {CountField::PercentInRepetitions, 5}, {CountField::SegmentsIn100Matches, 8},
            {CountField::WordsIn100Matches, 190},  {CountField::PlaceablesIn100Matches, 3},
            {CountField::PercentIn100Matches, 95}, {CountField::SegmentsTotal, 10},
            {CountField::WordsTotal, 200},         {CountField::CharactersTotal, 1100},
            {CountField::PlaceablesTotal, 3}};
}

// Every count field of the record is as listed, or `others` where not listed.
inline void ExpectCounts(const clsBAFileInfo& record, const std::map<CountField, int32_t>& listed,
                         int32_t others) {
    static const char* const names[] = {
#define ORV_NAME(name) #name,
        ORV_COUNT_FIELDS(ORV_NAME)
#undef ORV_NAME
    };
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        auto field = static_cast<CountField>(i);
        auto found = listed.find(field);
        EXPECT_EQ(record.Get(field), found == listed.end() ? others : found->second) << names[i];
    }
}

class LogFileParserTest : public ::testing::Test {
protected:
    // Writes `csv` as the CSV log file of "run.log" and parses it into `files`.
    void Parse(const std::string& csv) {
        folder.Write("run.csv", csv);
        parser.put_LogFileName(folder.wpath("run.log"));
        parser.ParseLogFile(files);
    }

    // The error number the parse raised, or 0.
    int32_t ParseError(const std::string& csv) {
        try {
            Parse(csv);
        } catch (const AutomationError& error) {
            return error.number();
        }
        return 0;
    }

    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    TempFolder folder;
    Files files;
    clsLogFileParser parser{platform};
};

}  // namespace orv::test
