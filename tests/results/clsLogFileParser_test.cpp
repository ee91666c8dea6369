#include "results/clsLogFileParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "front/OrvBatchAnalyseErrors.h"
#include "platform/NarrowText.h"
#include "results/CsvLogFileName.h"
#include "results/ErrorNumberOf.h"
#include "support/FakePlatform.h"
#include "support/FakeTessera.h"
#include "support/GermanNumberPlatform.h"
#include "support/MemoryFileSystem.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

// The two header lines of a log with the bands repetitions, 100% matches and total.
const std::string kHeader1 = ";;;Repetitions;;;;100% Matches;;;;Total;;;";
const std::string kHeader2 =
    "File;Tagging Errors;Chars/Word;Segments;Words;Placeables;Percent;Segments;Words;"
    "Placeables;Percent;Segments;Words;Characters;Placeables";
const std::string kFirstGroup = "File;Tagging Errors;Chars/Word;";
const std::wstring kCrLf = L"\r\n";
const std::wstring kHeaders = FromNarrow(kHeader1 + "\r\n" + kHeader2 + "\r\n");

// A data row for those headers: tagging errors, chars/word and the counts of RowCounts().
std::string Row(const std::string& file, const std::string& taggingErrors = "0",
                const std::string& charsPerWord = "5.5") {
    return file + ";" + taggingErrors + ";" + charsPerWord + ";2;10;0;5;8;190;3;95;10;200;1100;3";
}

std::map<CountField, int32_t> RowCounts() {
    return {{CountField::TaggingErrors, 0},        {CountField::SegmentsInRepetitions, 2},
            {CountField::WordsInRepetitions, 10},  {CountField::PlaceablesInRepetitions, 0},
            {CountField::PercentInRepetitions, 5}, {CountField::SegmentsIn100Matches, 8},
            {CountField::WordsIn100Matches, 190},  {CountField::PlaceablesIn100Matches, 3},
            {CountField::PercentIn100Matches, 95}, {CountField::SegmentsTotal, 10},
            {CountField::WordsTotal, 200},         {CountField::CharactersTotal, 1100},
            {CountField::PlaceablesTotal, 3}};
}

// Lines joined by CR LF, with a break after the last one as the analysis writes it.
std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

const auto W = [](const std::string& text) { return FromNarrow(text); };

// Every count field of the record is as listed, or `others` where not listed.
void ExpectCounts(const clsBAFileInfo& record, const std::map<CountField, int32_t>& listed,
                  int32_t others) {
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        auto found = listed.find(static_cast<CountField>(i));
        EXPECT_EQ(record.Get(static_cast<CountField>(i)),
                  found == listed.end() ? others : found->second)
            << "count field " << i;
    }
}

class LogFileParserTest : public testing::Test {
protected:
    // Writes `csv` as the CSV log file of "run.log" and parses it into `files`.
    void Parse(const std::string& csv) {
        folder.Write("run.csv", csv);
        parser.put_LogFileName(folder.wpath("run.log"));
        parser.ParseLogFile(files);
    }

    // A new parser (on `other` when given) and an empty collection, for a table's next case.
    void Reset(std::shared_ptr<Platform> other = nullptr) {
        parser = clsLogFileParser(other ? other : platform);
        files = Files();
    }

    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    TempFolder folder;
    Files files;
    clsLogFileParser parser{platform};
};

// --- the CSV file's name ---------------------------------------------------

TEST(CsvLogFileNameTest, ReplacesOnlyTheExtensionOfTheLastComponent) {
    constexpr PathStyle kPosix = PathStyle::Posix, kWindows = PathStyle::Windows;
    const struct {
        PathStyle style;
        std::wstring logFileName, csvLogFileName;
    } cases[] = {
        {kWindows, L"C:\\Logs\\run.LOG", L"C:\\Logs\\run.csv"},
        {kWindows, L"C:\\Logs.log\\run", L"C:\\Logs.log\\run.csv"},
        {kWindows, L"C:/my.logs/run", L"C:/my.logs/run.csv"},
        {kWindows, L"", L""},
        {kPosix, L"/logs.d/run", L"/logs.d/run.csv"},
        {kPosix, L"logs.d\\run", L"logs.csv"},
        {kPosix, L"/logs/run.csv", L"/logs/run.csv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvLogFileNameFor(c.logFileName, c.style), c.csvLogFileName)
            << ToNarrow(c.logFileName);
    }
}

// --- the worked example, under either decimal separator --------------------------------------

TEST_F(LogFileParserTest, FillsEveryFieldOfTheWorkedExampleUnderEitherDecimalSeparator) {
    for (const std::string locale : {".", ",", "German"}) {
        SCOPED_TRACE(locale);
        if (locale == "German") {
            auto german = GermanNumberPlatform();
            ASSERT_EQ(german->FormatNineTenths(), L"0,9") << kGermanLocaleHint;
            Reset(german);
        } else {
            platform->decimalSeparator = static_cast<wchar_t>(locale[0]);
            Reset();
        }
        auto record = files.Add(L"c:\\docs\\a.rtf");
        Parse(Lines({kHeader1, kHeader2, Row("C:\\Docs\\A.rtf")}));
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_FALSE(record->get_ProcessingError());
        EXPECT_EQ(record->get_CharsPerWord(), 5.5);
        ExpectCounts(*record, RowCounts(), -1);
        EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), W(Row("C:\\Docs\\A.rtf")));
        EXPECT_EQ(parser.GetCsvLogFileContent(), kHeaders + W(Row("C:\\Docs\\A.rtf")));
    }
}

// --- the column index --------------------------------------------------------------------------

TEST_F(LogFileParserTest, FindsEachColumnUnderItsGroupsLabelAndName) {
    const struct {
        const char* behaviour;
        std::string header1, header2, row;
        CountField field;
        int32_t expected;
    } cases[] = {
        {"labels and names in any case with spaces", ";;; rePetitions ",
         " FILE ; tagging ERRORS ;chars/word; SEGMENTS ", "a.rtf;0;4;7",
         CountField::SegmentsInRepetitions, 7},
        {"the first column of a key wins", ";;;Repetitions;;;;Repetitions",
         kFirstGroup + "Segments;Words;Placeables;Percent;Segments", "a.rtf;0;4;7;1;1;1;9",
         CountField::SegmentsInRepetitions, 7},
        {"a label off the group's first column is not read", ";;;;Repetitions",
         kFirstGroup + "Segments;Segments", "a.rtf;0;4;7;9", CountField::SegmentsInRepetitions, -1},
        {"columns beyond line 1 take their group's label", ";;;Total",
         kFirstGroup + "Segments;Words", "a.rtf;0;4;7;9", CountField::WordsTotal, 9},
        {"a column beyond line 2 has no key", ";;;Total;;;;Repetitions",
         kFirstGroup + "Segments;Words", "a.rtf;0;4;1;2;3;4;5;6;7",
         CountField::SegmentsInRepetitions, -1},
        {"a row shorter than the header misses its last columns", kHeader1, kHeader2, "a.rtf;0;4;7",
         CountField::PlaceablesTotal, -1},
        {"a band without words gives its characters", ";;;No Match",
         kFirstGroup + "Segments;Characters", "a.rtf;0;4;3;250", CountField::WordsInNoMatches, 250},
        {"words win over characters", ";;;Relayed", kFirstGroup + "Characters;Words",
         "a.rtf;0;4;80;12", CountField::WordsInRelay, 12},
        {"total characters do not stand in for total words", ";;;Total", kFirstGroup + "Characters",
         "a.rtf;0;4;80", CountField::WordsTotal, -1},
    };
    for (const auto& c : cases) {
        Reset();
        auto record = files.Add(L"a.rtf");
        Parse(Lines({c.header1, c.header2, c.row}));
        EXPECT_TRUE(record->get_FileProcessed()) << c.behaviour;
        EXPECT_EQ(record->Get(c.field), c.expected) << c.behaviour;
    }
}

TEST_F(LogFileParserTest, EachBandLabelFeedsItsBand) {
    auto record = files.Add(L"a.rtf");
    Parse(
        Lines({";;;Repetitions;;;;100% Matches;;;;95% - 99%;;;;85% - 94%;;;;75% - 84%;;;;"
               "50% - 74%;;;;No Match;;;;Relayed",
               kFirstGroup + "Segments;;;;Segments;;;;Segments;;;;Segments;;;;Segments;;;;"
                             "Segments;;;;Segments;;;;Segments",
               "a.rtf;0;4;1;;;;2;;;;3;;;;4;;;;5;;;;6;;;;7;;;;8"}));
    const CountField segments[] = {
        CountField::SegmentsInRepetitions, CountField::SegmentsIn100Matches,
        CountField::SegmentsIn95Matches,   CountField::SegmentsIn85Matches,
        CountField::SegmentsIn75Matches,   CountField::SegmentsIn50Matches,
        CountField::SegmentsInNoMatches,   CountField::SegmentsInRelay};
    for (int32_t n = 1; n <= 8; ++n) EXPECT_EQ(record->Get(segments[n - 1]), n);
}

// --- numbers in a row --------------------------------------------------------------------------

// Negative or non-numeric tagging errors count as none, and they are read up to the first
// character other than a digit or "."; chars/word may be written with "." in any locale.
TEST_F(LogFileParserTest, ReadsTaggingErrorsCharsPerWordAndCountsInTheLocale) {
    const struct {
        wchar_t separator;
        std::string taggingErrors, charsPerWord, segments;
        int32_t expectedTaggingErrors;
        double expectedCharsPerWord;
        int32_t expectedSegments;
    } cases[] = {
        {L'.', "2.5", "4.25", "2.5", 2, 4.25, 2}, {L'.', "3.5", "4", "3.5", 4, 4.0, 4},
        {L'.', "-3", "4", " 12 ", 0, 4.0, 12},    {L'.', "none", "-1", "7", 0, -1.0, 7},
        {L',', "2,5", "4.25", "2,5", 2, 4.25, 2}, {L',', "3.5", "4", "3,5", 0, 4.0, 4},
    };
    for (const auto& c : cases) {
        Reset();
        platform->decimalSeparator = c.separator;
        auto record = files.Add(L"a.rtf");
        Parse(Lines({";;;Total", kFirstGroup + "Segments",
                     "a.rtf;" + c.taggingErrors + ";" + c.charsPerWord + ";" + c.segments}));
        SCOPED_TRACE(c.taggingErrors + ";" + c.charsPerWord + ";" + c.segments);
        EXPECT_TRUE(record->get_FileProcessed());
        EXPECT_EQ(record->get_TaggingErrors(), c.expectedTaggingErrors);
        EXPECT_EQ(record->get_CharsPerWord(), c.expectedCharsPerWord);
        EXPECT_EQ(record->get_SegmentsTotal(), c.expectedSegments);
    }
}

TEST_F(LogFileParserTest, BothColumnsNonNumericMarksAProcessingErrorAndGoesOn) {
    auto failed = files.Add(L"a.rtf");
    auto next = files.Add(L"b.rtf");
    failed->put_FileProcessed(true);
    failed->put_WordsTotal(99);
    Parse(Lines({kHeader1, kHeader2, Row("a.rtf", "n/a", "n/a"), Row("b.rtf")}));

    EXPECT_TRUE(failed->get_ProcessingError());
    EXPECT_FALSE(failed->get_FileProcessed());
    ExpectCounts(*failed, {}, 0);
    EXPECT_TRUE(next->get_FileProcessed());
    EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(),
              W(Row("a.rtf", "n/a", "n/a")) + kCrLf + W(Row("b.rtf")));
}

TEST_F(LogFileParserTest, AConversionErrorStopsMidRowKeepingWhatWasSet) {
    const struct {
        std::string charsPerWord, placeables;
        int32_t number;
        bool failsAtCharsPerWord;
    } cases[] = {
        {"5.5", "many", kErrTypeMismatch, false},
        {"5.5", "3000000000", kErrOverflow, false},
        {"five", "0", kErrTypeMismatch, true},
    };
    for (const auto& c : cases) {
        Reset();
        auto before = files.Add(L"c.rtf");
        auto failing = files.Add(L"a.rtf");
        auto after = files.Add(L"b.rtf");
        failing->put_PlaceablesInRepetitions(77);
        failing->put_PercentInRepetitions(88);
        // Repetitions placeables come after every segments and words field.
        const std::string bad =
            "a.rtf;0;" + c.charsPerWord + ";2;10;" + c.placeables + ";5;8;190;3;95;10;200;1100;3";
        SCOPED_TRACE(bad);
        EXPECT_EQ(ErrorNumberOf([&] {
                      Parse(Lines({kHeader1, kHeader2, Row("c.rtf"), bad, Row("b.rtf")}));
                  }),
                  c.number);
        EXPECT_TRUE(before->get_FileProcessed());
        EXPECT_TRUE(failing->get_FileProcessed());
        EXPECT_FALSE(after->get_FileProcessed());
        std::map<CountField, int32_t> expected;
        if (!c.failsAtCharsPerWord) {
            // Segments and words are set before the placeables; placeables and percent are not.
            expected = RowCounts();
            for (std::size_t b = 0; b < kBandCount; ++b) {
                expected[BandField(static_cast<Band>(b), Measure::Placeables)] = 0;
                expected[BandField(static_cast<Band>(b), Measure::Percent)] = 0;
            }
            expected[CountField::PlaceablesTotal] = 0;
        }
        expected[CountField::PlaceablesInRepetitions] = 77;
        expected[CountField::PercentInRepetitions] = 88;
        ExpectCounts(*failing, expected, c.failsAtCharsPerWord ? 0 : -1);
        EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), W(Row("c.rtf")));
        EXPECT_EQ(parser.GetCsvLogFileContent(), L"");
    }
}

// --- where the parse stops ---------------------------------------------------------------------

TEST_F(LogFileParserTest, StopsAtABlankSummaryOrUnknownRowKeepingEarlierRows) {
    for (const std::string& stop :
         {std::string(), std::string("Total"), Row("z.rtf"), Row("a.rtf ")}) {
        Reset();
        auto a = files.Add(L"a.rtf");
        auto b = files.Add(L"b.rtf");
        Parse(Lines({kHeader1, kHeader2, Row("a.rtf"), Row("b.rtf"), stop, Row("a.rtf", "7")}));
        SCOPED_TRACE(stop);
        EXPECT_EQ(a->get_TaggingErrors(), 0);
        EXPECT_TRUE(b->get_FileProcessed());
        EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(),
                  W(Row("a.rtf")) + kCrLf + W(Row("b.rtf")));
        EXPECT_EQ(parser.GetCsvLogFileContent(), L"");
    }
}

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

TEST_F(LogFileParserTest, ARowFillsTheRecordOfItsExactPathElseTheFirstThatMatchesInAnyCase) {
    // Each row carries its number as its tagging errors; `filledBy` is, per record, the
    // number of the row that filled it last (0: none did).
    const struct {
        const char* behaviour;
        std::vector<std::wstring> records, rows;
        std::vector<int32_t> filledBy;
    } cases[] = {
        {"paths that differ only in case keep their own rows, in either order",
         {L"case/UPPER.TXT", L"case/upper.txt"},
         {L"case/upper.txt", L"case/UPPER.TXT"},
         {2, 1}},
        {"an exact match wins over an earlier record that matches in another case",
         {L"C:\\Docs\\ÄRGER.RTF", L"c:\\docs\\ärger.rtf"},
         {L"c:\\docs\\ärger.rtf"},
         {0, 1}},
        {"a row matching no record exactly fills the first that matches in any case",
         {L"C:\\Docs\\ÄRGER.RTF", L"c:\\docs\\ärger.rtf"},
         {L"C:\\DOCS\\Ärger.rtf"},
         {1, 0}},
        {"of two records with one path, the first takes every row",
         {L"a.rtf", L"a.rtf"},
         {L"a.rtf", L"A.RTF"},
         {2, 0}},
        {"exact and any-case rows of one run each find their record",
         {L"Case/Mixed.txt", L"case/mixed.txt", L"other.txt"},
         {L"CASE/MIXED.TXT", L"case/mixed.txt", L"OTHER.TXT"},
         {1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        Reset();
        std::vector<Files::Record> records;
        for (const auto& path : c.records) records.push_back(files.Add(path));
        std::string csv = Lines({kHeader1, kHeader2});
        for (std::size_t n = 0; n < c.rows.size(); ++n) {
            // The rows in the narrow encoding, as the analysis writes them.
            csv += Row(ToNarrow(c.rows[n]), std::to_string(n + 1)) + "\r\n";
        }
        Parse(csv);
        for (std::size_t r = 0; r < records.size(); ++r) {
            SCOPED_TRACE(ToNarrow(c.records[r]));
            EXPECT_EQ(records[r]->get_FileProcessed(), c.filledBy[r] != 0);
            if (c.filledBy[r] != 0) {
                EXPECT_EQ(records[r]->get_TaggingErrors(), c.filledBy[r]);
            }
        }
    }
}

// --- the file and its lines --------------------------------------------------------------------

TEST_F(LogFileParserTest, AMissingCsvLogFileRaises40005AndChangesNothing) {
    auto record = files.Add(L"a.rtf");
    std::filesystem::create_directory(folder.path() / "dir.csv");
    for (const std::wstring& logFileName :
         {std::wstring(), folder.wpath("absent.log"), folder.wpath("dir.log")}) {
        parser.put_LogFileName(logFileName);
        EXPECT_EQ(ErrorNumberOf([&] { parser.ParseLogFile(files); }),
                  ovOrvBatchAnalyseErrorUnableToFindLogFile)
            << ToNarrow(logFileName);
    }
    EXPECT_FALSE(record->get_FileProcessed());
}

TEST_F(LogFileParserTest, SplitsLinesAtEitherBreakAndTrimsOnlySpaces) {
    const struct {
        const char* behaviour;
        std::string bytes, row;
    } cases[] = {
        {"LF", kHeader1 + "\n" + kHeader2 + "\n" + Row("a.rtf") + "\n", Row("a.rtf")},
        {"no final break", kHeader1 + "\n" + kHeader2 + "\r\n" + Row("a.rtf"), Row("a.rtf")},
        {"a lone CR inside a line", kHeader1 + "\n" + kHeader2 + "\n" + Row("a.rtf") + ";x\ry\n",
         Row("a.rtf") + ";x\ry"},
        {"spaces trimmed, tabs kept",
         "  " + kHeader1 + "\n" + kHeader2 + "  \n  " + Row("a.rtf") + ";x \t  \n",
         Row("a.rtf") + ";x \t"},
    };
    for (const auto& c : cases) {
        Reset();
        auto record = files.Add(L"a.rtf");
        Parse(c.bytes);
        EXPECT_TRUE(record->get_FileProcessed()) << c.behaviour;
        EXPECT_EQ(parser.GetCsvLogFileContent(), kHeaders + W(c.row)) << c.behaviour;
    }
}

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

// --- on a file system in memory, where every failure can be provoked -------------------------

class LogFileParserInMemoryTest : public testing::Test {
protected:
    LogFileParserInMemoryTest() {
        files->AddFile(L"C:\\logs\\run.csv", Lines({kHeader1, kHeader2, Row("a.rtf")}));
        parser.put_LogFileName(L"C:\\logs\\run.log");
    }

    std::shared_ptr<MemoryFileSystem> files =
        std::make_shared<MemoryFileSystem>(PathStyle::Windows);
    clsLogFileParser parser{std::make_shared<FakePlatform>(), files};
    Files records;
    std::shared_ptr<clsBAFileInfo> record = records.Add(L"a.rtf");
};

TEST_F(LogFileParserInMemoryTest, ReadsTheCsvLogFileOnceAfterFindingIt) {
    parser.ParseLogFile(records);
    EXPECT_TRUE(record->get_FileProcessed());
    EXPECT_EQ(files->calls, (std::vector<std::wstring>{L"FileExists C:\\logs\\run.csv",
                                                       L"ReadFile C:\\logs\\run.csv"}));
}

TEST_F(LogFileParserInMemoryTest, AReadFailureReachesTheCallerUnchangedAndChangesNothing) {
    int reads = 0;
    for (int32_t number :
         {kErrFileNotFound, kErrPermissionDenied, kErrPathFileAccess, kErrBadFileName}) {
        SCOPED_TRACE(number);
        files->FailCall(++reads, number, "ReadFile");  // this case's read

        const auto error = RaisedBy([&] { parser.ParseLogFile(records); });

        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), number);
        EXPECT_EQ(error->source(), kRuntimeErrorSource);
        EXPECT_EQ(error->description(), RuntimeErrorMessage(number));
        EXPECT_FALSE(record->get_FileProcessed());
        EXPECT_EQ(parser.GetCsvLogFileContentWithoutHeader(), L"");
        EXPECT_EQ(files->calls.back(), L"ReadFile C:\\logs\\run.csv");
    }
}

TEST_F(LogFileParserInMemoryTest, NoFileOrAFolderOfTheCsvNameIs40005WithoutARead) {
    files = std::make_shared<MemoryFileSystem>(PathStyle::Windows);
    files->AddFolder(L"C:\\logs\\run.csv");
    parser = clsLogFileParser(std::make_shared<FakePlatform>(), files);
    for (const wchar_t* logFileName : {L"C:\\logs\\run.log", L"C:\\logs\\other.log"}) {
        parser.put_LogFileName(logFileName);
        EXPECT_EQ(ErrorNumberOf([&] { parser.ParseLogFile(records); }),
                  ovOrvBatchAnalyseErrorUnableToFindLogFile);
    }
    EXPECT_EQ(files->calls, (std::vector<std::wstring>{L"FileExists C:\\logs\\run.csv",
                                                       L"FileExists C:\\logs\\other.csv"}));
}

}  // namespace
}  // namespace orv::test
