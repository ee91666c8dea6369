#include <gtest/gtest.h>

#include "platform/NarrowText.h"
#include "results/CsvLogFileName.h"
#include "results/clsLogFileParserTesting.h"

namespace orv::test {
namespace {

struct NameCase {
    PathStyle style;
    std::wstring logFileName, csvLogFileName;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << (c.style == PathStyle::Windows ? "Windows " : "POSIX ") << ToNarrow(c.logFileName);
}

class CsvLogFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CsvLogFileNameTest, ReplacesOnlyTheExtensionOfTheLastComponent) {
    EXPECT_EQ(CsvLogFileNameFor(GetParam().logFileName, GetParam().style),
              GetParam().csvLogFileName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CsvLogFileNameTest,
    ::testing::Values(NameCase{PathStyle::Windows, L"C:\\Logs\\run.log", L"C:\\Logs\\run.csv"},
                      NameCase{PathStyle::Windows, L"C:\\Logs\\run.LOG", L"C:\\Logs\\run.csv"},
                      NameCase{PathStyle::Windows, L"C:\\Logs.log\\run.log",
                               L"C:\\Logs.log\\run.csv"},
                      NameCase{PathStyle::Windows, L"C:\\my.logs\\run", L"C:\\my.logs\\run.csv"},
                      NameCase{PathStyle::Windows, L"C:/my.logs/run", L"C:/my.logs/run.csv"},
                      NameCase{PathStyle::Windows, L"run.tar.log", L"run.tar.csv"},
                      NameCase{PathStyle::Windows, L"run", L"run.csv"},
                      NameCase{PathStyle::Windows, L"", L""},
                      NameCase{PathStyle::Posix, L"/logs.d/run.log", L"/logs.d/run.csv"},
                      NameCase{PathStyle::Posix, L"/logs.d/run", L"/logs.d/run.csv"},
                      NameCase{PathStyle::Posix, L"/logs\\x.d/run", L"/logs\\x.d/run.csv"},
                      NameCase{PathStyle::Posix, L"logs.d\\run", L"logs.csv"},
                      NameCase{PathStyle::Posix, L"/logs/run.csv", L"/logs/run.csv"}));

TEST_F(LogFileParserTest, ReadsTheCsvFileBesideTheLogWhateverItsExtension) {
    auto record = files.Add(L"a.rtf");
    folder.Write("my.logs/run.csv", Lines({kHeader1, kHeader2, Row("a.rtf")}));
    for (const char* logFileName : {"my.logs/run.LOG", "my.logs/run"}) {
        record->put_FilePath(L"a.rtf");
        parser.put_LogFileName(folder.wpath(logFileName));
        EXPECT_EQ(parser.get_LogFileName(), folder.wpath(logFileName));
        parser.ParseLogFile(files);
        EXPECT_TRUE(record->get_FileProcessed()) << logFileName;
    }
}

}  // namespace
}  // namespace orv::test
