// The golden batch (golden/) analysed through BatchAnalyse against the real engine, with
// every number of the records and of the CSV texts counted by hand beforehand.
//
// Rules: words are word tokens with a letter or a digit, a number, URL or e-mail address is
// one word and one placeable; characters leave out whitespace and punctuation ("@", ":",
// "/", "." too); a fuzzy value is floor(100 * (max - d) / max) over the tokens (words,
// numbers, punctuation) with d the token edit distance; percent = round(100 * band words /
// document words).
//
// alpha.txt                                   unit  d/max   value  band      words chars plc
//  1 The printer is ready to use.              1    0/7     100    100%         6    22   0
//  2 Before you start the installation, close  2    1/20     95    95-99       18    87   0
//    ... every open file on your own computer.      (document -> file; the line break
//                                                    inside the sentence is a space)
//  3 Press the red button to start the pump.   3    1/9      88    85-94        8    31   0
//  4 The printer is ready to use.              -    -         -    repetition   6    22   0
//  5 The tank holds 25 litres.                 7    0/6     100    100%         5    20   1
//  6 Write to support@example.com or visit     -    -         -    no match     8    63   2
//    https://www.example.com/help for details.      (e-mail 17 chars, URL 22 chars)
//  document: 6 segments, 51 words, 245 characters, 3 placeables, 245/51 = 4.80 chars/word
//  percents: repetition 6/51 = 12, 100% 11/51 = 22, 95-99 18/51 = 35, 85-94 8/51 = 16,
//            no match 8/51 = 16
//
// beta.txt
//  1 Remove the lid before washing the filter. 4    2/8      75    75-84        7    34   0
//  2 Check the power connections on the front  5    3/11     72    50-74       10    45   0
//    of the device.
//  3 Welcome to the support portal.            6    (into fr-FR only)  relayed  5    25   0
//  4 Press the red button to start the pump.   -    (alpha 3)          repetition 8  31   0
//  5 Our office is closed for 12 days in       -    -         -    no match     9    34   1
//    August.
//  document: 5 segments, 39 words, 169 characters, 1 placeable, 169/39 = 4.33 chars/word
//  percents: repetition 8/39 = 21, 75-84 7/39 = 18, 50-74 10/39 = 26, relayed 5/39 = 13,
//            no match 9/39 = 23

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/AppTesting.h"
#include "front/BatchAnalyse.h"
#include "platform/NarrowText.h"
#include "results/StatisticsFields.h"

namespace orv::engine::test {
namespace {

// A band's segments, words, placeables and percent.
using Measures = std::array<int32_t, 4>;
// The totals' segments, words, characters and placeables.
using Totals = std::array<int32_t, 4>;

struct Document {
    const char* name;
    // In the record's band order: repetitions, 100%, 95-99, 85-94, 75-84, 50-74, relayed,
    // no match.
    std::array<Measures, orv::kBandCount> bands;
    Totals totals;
    double charsPerWord;
    // The CSV data row after the document's path (the log puts no match before relayed).
    const std::string& row;
};

const Document kGolden[] = {
    {"alpha.txt",
     {{{1, 6, 0, 12}, {2, 11, 1, 22}, {1, 18, 0, 35}, {1, 8, 0, 16}, {}, {}, {}, {1, 8, 2, 16}}},
     {6, 51, 245, 3},
     4.80,
     kAlphaRow},
    {"beta.txt",
     {{{1, 8, 0, 21}, {}, {}, {}, {1, 7, 0, 18}, {1, 10, 0, 26}, {1, 5, 0, 13}, {1, 9, 1, 23}}},
     {5, 39, 169, 1},
     4.33,
     kBetaRow},
};

class GoldenBatch : public GoldenAnalysis {
public:
    GoldenBatch() {
        for (const Document& document : kGolden) ba.get_Files()->Add(folder.wpath(document.name));
    }
};

// Then again twice in one running Tessera: the second analysis reuses the first's match
// index, with the same results.
TEST_F(GoldenBatch, GivesTheHandCountedStatisticsInTheRecordsAndTheCsvTextsAndAgainOnReuse) {
    ASSERT_TRUE(ba.Analyse());

    for (int32_t i = 0; i < 2; ++i) {
        const Document& expected = kGolden[i];
        const auto record = ba.get_Files()->Item(i + 1);
        SCOPED_TRACE(expected.name);
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_FALSE(record->get_ProcessingError());
        EXPECT_EQ(record->get_TaggingErrors(), 0);
        EXPECT_DOUBLE_EQ(record->get_CharsPerWord(), expected.charsPerWord);
        EXPECT_EQ((Totals{record->get_SegmentsTotal(), record->get_WordsTotal(),
                          record->get_CharactersTotal(), record->get_PlaceablesTotal()}),
                  expected.totals);
        for (std::size_t b = 0; b < orv::kBandCount; ++b) {
            Measures measures;
            for (std::size_t m = 0; m < 4; ++m)
                measures[m] = record->Get(BandField(static_cast<orv::Band>(b), orv::Measure(m)));
            EXPECT_EQ(measures, expected.bands[b]) << "band " << b;
        }
    }

    std::string rows;
    for (const Document& document : kGolden)
        rows +=
            (rows.empty() ? "" : "\r\n") + (folder.path() / document.name).string() + document.row;
    const std::string full = kCsvLabels + "\r\n" + kCsvColumns + "\r\n" + rows;
    EXPECT_EQ(ba.GetCsvLogFileContentWithoutHeader(), FromNarrow(rows));
    EXPECT_EQ(ba.GetCsvLogFileContent(), FromNarrow(full));
    EXPECT_EQ(ReadBytes(folder.path() / "out/analysis.csv"), full + "\r\n");
    EXPECT_EQ(Listing(folder.path() / "out"),
              (std::set<std::string>{"analysis.csv", "analysis.log"}));
    EXPECT_TRUE(Listing(folder.path() / "temp").empty()) << "the job file is deleted";

    ba.StartTessera();
    ba.put_UseTMFromPreviousAnalysis(true);
    for (const bool reused : {false, true}) {
        ASSERT_TRUE(ba.Analyse());
        EXPECT_EQ(
            ReadBytes(folder.path() / "out/analysis.log").find(kReuseNote) != std::string::npos,
            reused);
        EXPECT_EQ(ba.GetCsvLogFileContent(), FromNarrow(full));
    }
    ba.CloseTessera();
}

}  // namespace
}  // namespace orv::engine::test
