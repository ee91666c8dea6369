// Job files executed by the engine's TM against the golden memory: every layout the
// component can write, the faults that refuse a job, documents without words, the reuse of
// the match index and the lowest match value.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/AppTesting.h"
#include "engine/app/EngineApplication.h"
#include "engine/model/EngineError.h"
#include "engine/system/SystemFile.h"

namespace orv::engine::test {
namespace {

using ::testing::HasSubstr;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The analysis task of the two golden documents.
const std::string kBothDocuments =
    "||[Task1]|Task = Analyse|Files = 2|File1 = \"$/alpha.txt\"|File2 = \"$/beta.txt\"|";

std::string AnalyseSection(const std::string& logLine, bool useTM = false, int tasks = 1) {
    return "[Analyse]|UseTMFromPreviousAnalysis = " + std::string(useTM ? "1" : "0") + "|" +
           logLine + "Tasks = " + std::to_string(tasks) + "|";
}

const std::string kRunLog = "LogFile = \"$/run.log\"|";

class EngineJob : public ::testing::Test {
public:
    EngineJob() {
        CopyGolden(folder);
        fs::create_directory(folder.path() / "tasks");
        folder.Write("tasks/s.ini", "[Inline]\nb\n");
        folder.Write("tasks/h.ini", "[Skip]\npre\n");
        tm->Open(folder.wpath("memory.tmx"), L"anna", L"", L"w");
        tm->put_TargetLanguage(1031);
    }

    // "|" stands for CR LF (or `lineEnd`) and "$" for the test's folder.
    std::string Expand(const std::string& text, const std::string& lineEnd = "\r\n") const {
        return Replaced(Replaced(text, "|", lineEnd), "$", folder.path().string());
    }
    void Execute(const std::string& job, const std::string& lineEnd = "\r\n") {
        folder.Write("job.tmp", Expand(job, lineEnd));
        tm->ExecuteJobFile(folder.wpath("job.tmp"));
    }
    // The data rows of a CSV log file, after checking its two header lines.
    std::vector<std::string> Rows(const std::string& name = "run.csv") const {
        auto lines = CrLfLines(ReadBytes(folder.path() / name));
        EXPECT_GE(lines.size(), 2u);
        if (lines.size() < 2) return {};
        EXPECT_EQ(lines[0], kCsvLabels);
        EXPECT_EQ(lines[1], kCsvColumns);
        return {lines.begin() + 2, lines.end()};
    }
    // Everything the job wrote, besides the golden files, the job itself and the folder of
    // the optional tasks' files.
    std::set<std::string> Written() const {
        auto names = Listing(folder.path());
        for (const char* input : {"memory.tmx", "alpha.txt", "beta.txt", "job.tmp", "tasks"})
            names.erase(input);
        // The open TM's lock, where it is held on a file of its own.
        names.erase(fs::path(LockFileOf(folder.wpath("memory.tmx"))).filename().string());
        return names;
    }

    TempFolder folder;
    EngineApplication app;
    std::shared_ptr<TessappTM> tm = app.get_CurrentTM();
};

TEST_F(EngineJob, AcceptsEveryJobTheComponentCanWrite) {
    const std::string alpha = "$/alpha.txt" + kAlphaRow, beta = "$/beta.txt" + kBetaRow;
    // A blank path names no file; its row says why where the numbers would be.
    const std::string reason = "The file name cannot be used on this system";
    const std::string unread = ";" + reason + ";" + reason + std::string(36, ';');
    const struct {
        const char* what;
        std::string job;
        std::set<std::string> written;
        std::vector<std::string> rows;
        std::string lineEnd = "\r\n";
    } cases[] = {
        {"settings and a log",
         "[Settings]|SGMLSettingsFile = \"$/tasks/s.ini\"|HTMLSettingsFile = \"$/tasks/h.ini\"|||" +
             AnalyseSection(kRunLog) + kBothDocuments,
         {"run.log", "run.csv"},
         {alpha, beta}},
        {"no settings, LF line ends",
         AnalyseSection(kRunLog, true) + kBothDocuments,
         {"run.log", "run.csv"},
         {alpha, beta},
         "\n"},
        {"no LogFile line", AnalyseSection("") + kBothDocuments, {}, {}},
        {"no documents",
         AnalyseSection(kRunLog) + "||[Task1]|Task = Analyse|Files = 0|",
         {"run.log", "run.csv"},
         {}},
        {"a log named like its CSV log file",
         AnalyseSection("LogFile = \"$/x.csv\"|") +
             "||[Task1]|Task = Analyse|Files = 1|File1 = \"$/alpha.txt\"|",
         {"x.csv"},
         {alpha}},
        {"a log without extension",
         AnalyseSection("LogFile = \"$/run\"|") + kBothDocuments,
         {"run", "run.csv"},
         {alpha, beta}},
        {"a blank document path, written as a lone quote",
         AnalyseSection(kRunLog) + "||[Task1]|Task = Analyse|Files = 1|File1 = \"|",
         {"run.log", "run.csv"},
         {unread}},
        {"every optional task",
         AnalyseSection(kRunLog, false, 4) + kBothDocuments +
             "||[Task2]|Task = ExportUnknown|MaxMatch = 85|"
             "File = \"$/tasks/unknown.txt\"|FileType = 2|"
             "||[Task3]|Task = ExportFrequent|Occurrences = 5|File = \"$/tasks/frequent.txt\"|"
             "FileType = 1|||[Task4]|Task = CreateProjectTM|File = \"$/tasks/project.tmv\"|",
         {"run.log", "run.csv"},
         {alpha, beta}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& name : Written()) fs::remove(folder.path() / name);
        Execute(c.job, c.lineEnd);
        EXPECT_EQ(Written(), c.written);
        if (c.written.empty()) continue;
        std::vector<std::string> expected;
        for (const auto& row : c.rows) expected.push_back(Expand(row));
        EXPECT_EQ(Rows(c.written.count("x.csv") ? "x.csv" : "run.csv"), expected);
    }
}

TEST_F(EngineJob, RefusesOnlyAJobWithoutItsSectionsOrWithCountsThatDisagree) {
    const struct {
        const char* what;
        std::string job;
    } cases[] = {
        {"no [Analyse]", "[Task1]|Task = Analyse|Files = 1|File1 = \"$/alpha.txt\"|"},
        {"no [Task1]", AnalyseSection(kRunLog)},
        {"fewer File lines than Files",
         AnalyseSection(kRunLog) + "||[Task1]|Task = Analyse|Files = 2|File1 = \"$/alpha.txt\"|"},
        {"fewer tasks than Tasks", AnalyseSection(kRunLog, false, 2) + kBothDocuments},
    };
    for (const auto& c : cases) {
        const auto error = RaisedBy([&] { Execute(c.job); });
        ASSERT_TRUE(error) << c.what;
        EXPECT_EQ(error->number(), kEngineFailure) << c.what;
        EXPECT_THAT(error->description(), HasSubstr(folder.wpath("job.tmp"))) << c.what;
        EXPECT_TRUE(Written().empty()) << c.what;
    }
    const auto missing = RaisedBy([&] { tm->ExecuteJobFile(folder.wpath("none.tmp")); });
    ASSERT_TRUE(missing);
    EXPECT_THAT(missing->description(), HasSubstr(folder.wpath("none.tmp")));
}

TEST_F(EngineJob, ADocumentWithoutWordsHasZeroCharsPerWordAndZeroPercents) {
    folder.Write("symbols.txt", "+++\n\n***\n");  // "+" is a counted character, "*" is not
    folder.Write("empty.txt", "");
    Execute(AnalyseSection(kRunLog) +
            "||[Task1]|Task = Analyse|Files = 2|"
            "File1 = \"$/symbols.txt\"|File2 = \"$/empty.txt\"|");
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    const char* totals[] = {"2 0 3", "0 0 0"};  // segments, words, characters
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(rows[i]);
        EXPECT_EQ(Fields(rows[i])[2], "0.00");
        for (int b = 0; b < 8; ++b) {
            EXPECT_EQ(Cell(rows[i], LogBand(b), 1), "0");  // words
            EXPECT_EQ(Cell(rows[i], LogBand(b), 3), "0");  // percent
        }
        EXPECT_EQ(Cell(rows[i], LogBand::Total, 0) + " " + Cell(rows[i], LogBand::Total, 1) + " " +
                      Cell(rows[i], LogBand::Total, 2),
                  totals[i]);
    }
}

// Each analysis asks for the previous index; whether it got it shows in the readable log.
TEST_F(EngineJob, ReusesTheMatchIndexOnlyWhileTheTmFileAndTheTargetLanguageStayTheSame) {
    const std::string golden = ReadBytes(folder.path() / "memory.tmx");
    // One more unit: beta's last segment becomes a 100% match.
    const std::string larger = Replaced(
        golden, "</body>",
        "<tu><tuv xml:lang=\"en-US\"><seg>Our office is closed for 12 days in August.</seg></tuv>"
        "<tuv xml:lang=\"de-DE\"><seg>Unser B\xC3\xBCro ist im August 12 Tage geschlossen.</seg>"
        "</tuv></tu></body>");
    auto open = [&](int32_t target) {
        tm->Open(folder.wpath("memory.tmx"), L"anna", L"", L"w");
        tm->put_TargetLanguage(target);
    };
    const struct {
        const char* what;
        std::function<void()> before;
        bool useTM;
        bool reused;
        const char* betaExact;  // beta's 100% segments
    } steps[] = {
        {"first analysis", [] {}, true, false, "0"},
        {"the same again", [] {}, true, true, "0"},
        {"not asked to reuse", [] {}, false, false, "0"},
        {"asked again", [] {}, true, true, "0"},
        {"TM reopened unchanged", [&] { open(1031); }, true, true, "0"},
        {"another target language", [&] { tm->put_TargetLanguage(1036); }, true, false, "1"},
        {"back to German", [&] { tm->put_TargetLanguage(1031); }, true, false, "0"},
        {"TM file changed and reopened",
         [&] {
             folder.Write("memory.tmx", larger);
             open(1031);
         },
         true, false, "1"},
        // The open TM is what was read, whatever the file became since.
        {"TM file changed back while open", [&] { folder.Write("memory.tmx", golden); }, true, true,
         "1"},
        {"and reopened", [&] { open(1031); }, true, false, "0"},
    };
    std::string first;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.before();
        Execute(AnalyseSection(kRunLog, step.useTM) + kBothDocuments);
        const std::string log = ReadBytes(folder.path() / "run.log");
        EXPECT_EQ(log.find(kReuseNote) != std::string::npos, step.reused);
        const auto rows = Rows();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(Cell(rows[1], LogBand::Exact, 0), step.betaExact);
        if (first.empty()) first = ReadBytes(folder.path() / "run.csv");
        if (std::string(step.betaExact) == "0") {
            EXPECT_EQ(ReadBytes(folder.path() / "run.csv"), first) << "the same results";
        }
    }
}

TEST_F(EngineJob, MinimumMatchValueRaisesTheFloorBelowWhichAFuzzyMatchIsNoMatch) {
    // beta.txt alone: 88 (the red button), 75 (the lid), 72 (the power connections), a
    // relayed segment and a no match.
    const struct {
        int32_t minimum;
        const char* floor;
        const char* segments;  // in 85-94, 75-84, 50-74, no match and relayed
    } cases[] = {{0, "50", "1 1 1 1 1"},
                 {72, "72", "1 1 1 1 1"},
                 {75, "75", "1 1 0 2 1"},
                 {76, "76", "1 0 0 3 1"},
                 {100, "100", "0 0 0 4 1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minimum);
        app.get_GeneralOptions()->put_MinimumMatchValue(c.minimum);
        Execute(AnalyseSection(kRunLog) +
                "||[Task1]|Task = Analyse|Files = 1|File1 = \"$/beta.txt\"|");
        const auto rows = Rows();
        ASSERT_EQ(rows.size(), 1u);
        std::string segments;
        for (LogBand band : {LogBand::Fuzzy85, LogBand::Fuzzy75, LogBand::Fuzzy50, LogBand::NoMatch,
                             LogBand::Relayed})
            segments += (segments.empty() ? "" : " ") + Cell(rows[0], band, 0);
        EXPECT_EQ(segments, c.segments);
        EXPECT_THAT(ReadBytes(folder.path() / "run.log"),
                    HasSubstr("Lowest fuzzy match: " + std::string(c.floor) + "%"));
    }
}

}  // namespace
}  // namespace orv::engine::test
