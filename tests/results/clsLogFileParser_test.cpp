#include "results/clsLogFileParser.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "front/OrvBatchAnalyseErrors.h"
#include "platform/NarrowText.h"
#include "platform/posix/PosixPlatform.h"
#include "results/clsLogFileParserTesting.h"

namespace orv::test {
namespace {

const std::wstring kCrLf = L"\r\n";

std::wstring W(const std::string& text) {
    return FromNarrow(text);
}

// --- the full example, under both decimal separators --------------------------------------

class WorkedExampleTest : public LogFileParserTest,
                          public ::testing::WithParamInterface<wchar_t> {};

TEST_P(WorkedExampleTest, FillsEveryFieldAndKeepsTheLinesAsText) {
    platform->decimalSeparator = GetParam();
    auto record = files.Add(L"c:\\docs\\a.rtf");
    Parse(Lines({kHeader1, kHeader2, Row("C:\\Docs\\A.rtf")}));

    EXPECT_TRUE(record->get_FileProcessed());
    EXPECT_FALSE(record->get_ProcessingError());
    EXPECT_EQ(record->get_CharsPerWord(), 5.5);
    ExpectCounts(*record, RowCounts(), -1);
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), W(Row("C:\\Docs\\A.rtf")));
    EXPECT_EQ(parser.GetCsvLogFileContent(),
              W(kHeader1) + kCrLf + W(kHeader2) + kCrLf + W(Row("C:\\Docs\\A.rtf")));
    EXPECT_EQ(parser.GetLogFileContent(), L"not implemented");
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, WorkedExampleTest, ::testing::Values(L'.', L','));

TEST(LogFileParserLocaleTest, ReadsTheExampleUnderARealGermanLocale) {
    auto german = std::make_shared<PosixPlatform>("de_DE.UTF-8");
    ASSERT_EQ(german->FormatNineTenths(), L"0,9")
        << "the locale de_DE.UTF-8 is not installed: run `make locale`";
    TempFolder folder;
    folder.Write("run.csv", Lines({kHeader1, kHeader2, Row("a.rtf", "0", "4.25")}));
    Files files;
    auto record = files.Add(L"a.rtf");
    clsLogFileParser parser(german);
    parser.put_LogFileName(folder.wpath("run.log"));
    parser.ParseLogFile(files);

    EXPECT_TRUE(record->get_FileProcessed());
    EXPECT_EQ(record->get_CharsPerWord(), 4.25);
    ExpectCounts(*record, RowCounts(), -1);
}

// --- the column index ----------------------------------------------------------------------

struct HeaderCase {
    const char* behaviour;
    std::string header1, header2, row;
    CountField field;
    int32_t expected;
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << c.behaviour;
}

class HeaderTest : public LogFileParserTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderTest, FindsTheColumn) {
    const auto& c = GetParam();
    auto record = files.Add(L"a.rtf");
    Parse(Lines({c.header1, c.header2, c.row}));
    EXPECT_TRUE(record->get_FileProcessed());
    EXPECT_EQ(record->Get(c.field), c.expected);
}

const std::string kFirstGroup = "File;Tagging Errors;Chars/Word;";

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderTest,
    ::testing::Values(
        HeaderCase{"labels and names in any case with spaces", ";;; rePetitions ",
                   " FILE ; tagging ERRORS ;chars/word; SEGMENTS ", "a.rtf;0;4;7",
                   CountField::SegmentsInRepetitions, 7},
        HeaderCase{"the first column of a key wins", ";;;Repetitions;;;;Repetitions",
                   kFirstGroup + "Segments;Words;Placeables;Percent;Segments",
                   "a.rtf;0;4;7;1;1;1;9", CountField::SegmentsInRepetitions, 7},
        HeaderCase{"a label off the group's first column is not read", ";;;;Repetitions",
                   kFirstGroup + "Segments;Segments", "a.rtf;0;4;7;9",
                   CountField::SegmentsInRepetitions, -1},
        HeaderCase{"columns beyond line 1 take their group's label", ";;;Total",
                   kFirstGroup + "Segments;Words", "a.rtf;0;4;7;9", CountField::WordsTotal, 9},
        HeaderCase{"a column beyond line 2 has no key", ";;;Total;;;;Repetitions",
                   kFirstGroup + "Segments;Words", "a.rtf;0;4;1;2;3;4;5;6;7",
                   CountField::SegmentsInRepetitions, -1},
        HeaderCase{"a row shorter than the header misses its last columns", kHeader1, kHeader2,
                   "a.rtf;0;4;7", CountField::PlaceablesTotal, -1},
        HeaderCase{"a band that counts characters gives them as words", ";;;No Match",
                   kFirstGroup + "Segments;Characters", "a.rtf;0;4;3;250",
                   CountField::WordsInNoMatches, 250},
        HeaderCase{"a words value of -1 falls back to characters", ";;;Relayed",
                   kFirstGroup + "Words;Characters", "a.rtf;0;4;-1;80", CountField::WordsInRelay,
                   80},
        HeaderCase{"words win over characters", ";;;Relayed", kFirstGroup + "Characters;Words",
                   "a.rtf;0;4;80;12", CountField::WordsInRelay, 12},
        HeaderCase{"the total characters do not stand in for total words", ";;;Total",
                   kFirstGroup + "Characters", "a.rtf;0;4;80", CountField::WordsTotal, -1}));

TEST_F(LogFileParserTest, EachBandLabelFeedsItsBand) {
    auto record = files.Add(L"a.rtf");
    Parse(
        Lines({";;;Repetitions;;;;100% Matches;;;;95% - 99%;;;;85% - 94%;;;;75% - 84%;;;;"
               "50% - 74%;;;;No Match;;;;Relayed",
               kFirstGroup + "Segments;;;;Segments;;;;Segments;;;;Segments;;;;Segments;;;;"
                             "Segments;;;;Segments;;;;Segments",
               "a.rtf;0;4;1;;;;2;;;;3;;;;4;;;;5;;;;6;;;;7;;;;8"}));
    ExpectCounts(*record,
                 {{CountField::TaggingErrors, 0},
                  {CountField::SegmentsInRepetitions, 1},
                  {CountField::SegmentsIn100Matches, 2},
                  {CountField::SegmentsIn95Matches, 3},
                  {CountField::SegmentsIn85Matches, 4},
                  {CountField::SegmentsIn75Matches, 5},
                  {CountField::SegmentsIn50Matches, 6},
                  {CountField::SegmentsInNoMatches, 7},
                  {CountField::SegmentsInRelay, 8}},
                 -1);
}

TEST_F(LogFileParserTest, AFirstGroupUnderALabelHasNoFileColumnAndStopsAtOnce) {
    auto record = files.Add(L"a.rtf");
    Parse(Lines({"Document;;;Total", kFirstGroup + "Segments", "a.rtf;0;4;7"}));
    EXPECT_FALSE(record->get_FileProcessed());
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), L"");
}

// --- numbers -------------------------------------------------------------------------------

struct NumberCase {
    wchar_t separator;
    std::string taggingErrors, charsPerWord, segments;
    int32_t expectedTaggingErrors;
    double expectedCharsPerWord;
    int32_t expectedSegments;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << "'" << static_cast<char>(c.separator) << "' " << c.taggingErrors << ";" << c.charsPerWord
        << ";" << c.segments;
}

class NumberTest : public LogFileParserTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberTest, ConvertsTaggingErrorsCharsPerWordAndCounts) {
    const auto& c = GetParam();
    platform->decimalSeparator = c.separator;
    auto record = files.Add(L"a.rtf");
    Parse(Lines({";;;Total", kFirstGroup + "Segments",
                 "a.rtf;" + c.taggingErrors + ";" + c.charsPerWord + ";" + c.segments}));
    EXPECT_TRUE(record->get_FileProcessed());
    EXPECT_EQ(record->get_TaggingErrors(), c.expectedTaggingErrors);
    EXPECT_EQ(record->get_CharsPerWord(), c.expectedCharsPerWord);
    EXPECT_EQ(record->get_SegmentsTotal(), c.expectedSegments);
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumberTest,
                         ::testing::Values(NumberCase{L'.', "2.5", "4.25", "2.5", 2, 4.25, 2},
                                           NumberCase{L'.', "3.5", "4", "3.5", 4, 4.0, 4},
                                           NumberCase{L'.', "-3", "4", "-2", 0, 4.0, -2},
                                           NumberCase{L'.', "none", "4", " 12 ", 0, 4.0, 12},
                                           NumberCase{L'.', "2x", "4", "0", 0, 4.0, 0},
                                           NumberCase{L'.', "-1", "4", "-1", 0, 4.0, -1},
                                           NumberCase{L'.', "0", "-1", "7", 0, -1.0, 7},
                                           NumberCase{L',', "2,5", "4.25", "2,5", 2, 4.25, 2},
                                           NumberCase{L',', "3.5", "4", "3,5", 0, 4.0, 4}));

TEST_F(LogFileParserTest, BothColumnsNonNumericMarksAProcessingErrorAndGoesOn) {
    auto failed = files.Add(L"a.rtf");
    auto next = files.Add(L"b.rtf");
    failed->put_FileProcessed(true);
    failed->put_WordsTotal(99);
    Parse(Lines({kHeader1, kHeader2, Row("a.rtf", "n/a", "n/a"), Row("b.rtf")}));

    EXPECT_TRUE(failed->get_ProcessingError());
    EXPECT_FALSE(failed->get_FileProcessed());
    ExpectCounts(*failed, {}, 0);
    EXPECT_EQ(failed->get_CharsPerWord(), 0.0);
    EXPECT_TRUE(next->get_FileProcessed());
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(),
              W(Row("a.rtf", "n/a", "n/a")) + kCrLf + W(Row("b.rtf")));
    EXPECT_FALSE(parser.GetCsvLogFileContent().empty());
}

struct ConversionErrorCase {
    std::string charsPerWord, placeables;
    int32_t number;
    bool failsAtCharsPerWord;
};

void PrintTo(const ConversionErrorCase& c, std::ostream* os) {
    *os << "chars/word \"" << c.charsPerWord << "\", placeables \"" << c.placeables << '"';
}

class ConversionErrorTest : public LogFileParserTest,
                            public ::testing::WithParamInterface<ConversionErrorCase> {};

TEST_P(ConversionErrorTest, StopsMidRowKeepingWhatWasSet) {
    const auto& c = GetParam();
    auto before = files.Add(L"c.rtf");
    auto failing = files.Add(L"a.rtf");
    auto after = files.Add(L"b.rtf");
    failing->put_PlaceablesInRepetitions(77);
    failing->put_PercentInRepetitions(88);
    // Repetitions placeables come after every segments and words field.
    std::string bad =
        "a.rtf;0;" + c.charsPerWord + ";2;10;" + c.placeables + ";5;8;190;3;95;10;200;1100;3";

    EXPECT_EQ(ParseError(Lines({kHeader1, kHeader2, Row("c.rtf"), bad, Row("b.rtf")})), c.number);
    EXPECT_TRUE(before->get_FileProcessed());
    EXPECT_TRUE(failing->get_FileProcessed());
    EXPECT_FALSE(after->get_FileProcessed());
    if (c.failsAtCharsPerWord) {
        ExpectCounts(
            *failing,
            {{CountField::PlaceablesInRepetitions, 77}, {CountField::PercentInRepetitions, 88}}, 0);
    } else {
        // Segments and words are set; placeables and percent are not reached.
        auto expected = RowCounts();
        for (std::size_t b = 0; b < kBandCount; ++b) {
            expected[BandField(static_cast<Band>(b), Measure::Placeables)] = 0;
            expected[BandField(static_cast<Band>(b), Measure::Percent)] = 0;
        }
        expected[CountField::PlaceablesTotal] = 0;
        expected[CountField::PlaceablesInRepetitions] = 77;
        expected[CountField::PercentInRepetitions] = 88;
        ExpectCounts(*failing, expected, -1);
    }
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), W(Row("c.rtf")));
    EXPECT_EQ(parser.GetCsvLogFileContent(), L"");
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ConversionErrorTest,
    ::testing::Values(ConversionErrorCase{"5.5", "many", kErrTypeMismatch, false},
                      ConversionErrorCase{"5.5", "", kErrTypeMismatch, false},
                      ConversionErrorCase{"5.5", "3000000000", kErrOverflow, false},
                      ConversionErrorCase{"five", "0", kErrTypeMismatch, true},
                      ConversionErrorCase{"", "0", kErrTypeMismatch, true}));

// --- where the parse stops -----------------------------------------------------------------

struct StopCase {
    const char* behaviour;
    std::string lastRows;  // after the rows of a.rtf and b.rtf
};

void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.behaviour;
}

class StopTest : public LogFileParserTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopTest, KeepsEarlierRowsAndLeavesLaterOnes) {
    auto a = files.Add(L"a.rtf");
    auto b = files.Add(L"b.rtf");
    auto c = files.Add(L"c.rtf");
    Parse(Lines({kHeader1, kHeader2, Row("a.rtf"), Row("b.rtf")}) + GetParam().lastRows +
          Lines({Row("c.rtf")}));
    EXPECT_TRUE(a->get_FileProcessed());
    EXPECT_TRUE(b->get_FileProcessed());
    EXPECT_FALSE(c->get_FileProcessed());
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(),
              W(Row("a.rtf")) + kCrLf + W(Row("b.rtf")));
    EXPECT_EQ(parser.GetCsvLogFileContent(), L"");
}

INSTANTIATE_TEST_SUITE_P(
    Stops, StopTest,
    ::testing::Values(StopCase{"a blank line", "\r\n"}, StopCase{"a line of spaces", "   \r\n"},
                      StopCase{"a summary row", "Total\r\n"},
                      StopCase{"an unknown document", Lines({Row("z.rtf")})},
                      StopCase{"a path differing by a trailing space", Lines({Row("a.rtf ")})},
                      StopCase{"a path in another form", Lines({Row("./a.rtf")})},
                      StopCase{"a path holding a semicolon", Lines({Row("a;b.rtf")})}));

TEST_F(LogFileParserTest, ShortOrHeaderlessFilesChangeNothing) {
    auto record = files.Add(L"a.rtf");
    for (const std::string& csv :
         {std::string(), Lines({kHeader1, kHeader2}), Lines({"", kHeader2, Row("a.rtf")})}) {
        Parse(csv);
        EXPECT_FALSE(record->get_FileProcessed());
        EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), L"");
        EXPECT_EQ(parser.GetCsvLogFileContent(), L"");
    }
}

TEST_F(LogFileParserTest, AnEmptyCollectionStopsAtTheFirstRowWithoutError) {
    Parse(Lines({kHeader1, kHeader2, Row("a.rtf")}));
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), L"");
}

// --- matching records ----------------------------------------------------------------------

TEST_F(LogFileParserTest, MatchesThePathWithoutRegardToCaseAndFillsOnlyTheFirstOfTwins) {
    auto first = files.Add(W("C:\\Docs\\\xC3\x84RGER.RTF"));
    auto twin = files.Add(W("c:\\docs\\\xC3\xA4rger.rtf"));
    Parse(Lines({kHeader1, kHeader2, Row("c:\\docs\\\xC3\xA4rger.rtf", "1"),
                 Row("C:\\DOCS\\\xC3\x84rger.rtf", "2")}));
    EXPECT_EQ(first->get_TaggingErrors(), 2);  // both rows, the later one last
    EXPECT_FALSE(twin->get_FileProcessed());
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(),
              W(Row("c:\\docs\\\xC3\xA4rger.rtf", "1")) + kCrLf +
                  W(Row("C:\\DOCS\\\xC3\x84rger.rtf", "2")));
}

// --- the file and its lines ----------------------------------------------------------------

TEST_F(LogFileParserTest, AMissingCsvLogFileRaises40005AndChangesNothing) {
    auto record = files.Add(L"a.rtf");
    std::filesystem::create_directory(folder.path() / "dir.csv");
    for (const std::wstring& logFileName :
         {std::wstring(), folder.wpath("absent.log"), folder.wpath("dir.log")}) {
        parser.put_LogFileName(logFileName);
        try {
            parser.ParseLogFile(files);
            ADD_FAILURE() << "no error for \"" << ToNarrow(logFileName) << '"';
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), ovOrvBatchAnalyseErrorUnableToFindLogFile);
            EXPECT_EQ(error.description(), L"Unable to find log file.");
            EXPECT_EQ(error.source(), L"");
        }
    }
    EXPECT_FALSE(record->get_FileProcessed());
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), L"");
    EXPECT_EQ(parser.GetLogFileContent(), L"not implemented");
}

struct LineBreakCase {
    const char* behaviour;
    std::string bytes;
    std::string expectedRow;
};

void PrintTo(const LineBreakCase& c, std::ostream* os) {
    *os << c.behaviour;
}

class LineBreakTest : public LogFileParserTest,
                      public ::testing::WithParamInterface<LineBreakCase> {};

TEST_P(LineBreakTest, SplitsAndTrimsLines) {
    auto record = files.Add(L"a.rtf");
    Parse(GetParam().bytes);
    EXPECT_TRUE(record->get_FileProcessed());
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), W(GetParam().expectedRow));
    EXPECT_EQ(parser.GetCsvLogFileContent(),
              W(kHeader1) + kCrLf + W(kHeader2) + kCrLf + W(GetParam().expectedRow));
}

INSTANTIATE_TEST_SUITE_P(
    LineBreaks, LineBreakTest,
    ::testing::Values(
        LineBreakCase{"CR LF", kHeader1 + "\r\n" + kHeader2 + "\r\n" + Row("a.rtf") + "\r\n",
                      Row("a.rtf")},
        LineBreakCase{"LF", kHeader1 + "\n" + kHeader2 + "\n" + Row("a.rtf") + "\n", Row("a.rtf")},
        LineBreakCase{"mixed, no final break", kHeader1 + "\n" + kHeader2 + "\r\n" + Row("a.rtf"),
                      Row("a.rtf")},
        LineBreakCase{"a lone CR inside a line",
                      kHeader1 + "\n" + kHeader2 + "\n" + Row("a.rtf") + ";x\ry\n",
                      Row("a.rtf") + ";x\ry"},
        LineBreakCase{"spaces trimmed, tabs kept",
                      "  " + kHeader1 + "\n" + kHeader2 + "  \n  " + Row("a.rtf") + ";x \t  \n",
                      Row("a.rtf") + ";x \t"}));

TEST_F(LogFileParserTest, ASecondParseAppendsItsRowsAndRebuildsTheFullText) {
    auto a = files.Add(L"a.rtf");
    auto b = files.Add(L"b.rtf");
    Parse(Lines({kHeader1, kHeader2, Row("a.rtf")}));
    const std::string header2 = kHeader2 + ";Note";
    Parse(Lines({kHeader1, header2, Row("b.rtf")}));
    EXPECT_TRUE(a->get_FileProcessed());
    EXPECT_TRUE(b->get_FileProcessed());
    const std::wstring rows = W(Row("a.rtf")) + kCrLf + W(Row("b.rtf"));
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), rows);
    EXPECT_EQ(parser.GetCsvLogFileContent(), W(kHeader1) + kCrLf + W(header2) + kCrLf + rows);
}

}  // namespace
}  // namespace orv::test
