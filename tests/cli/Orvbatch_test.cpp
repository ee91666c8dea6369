// The orvbatch program end to end, run in its own process on a copy of the bundled example:
// exit codes, what reaches standard output and error, the logs it leaves, the TM commands,
// and Ctrl-C.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "ExampleFolder.h"
#include "GeneratedInputs.h"
#include "ProgramRun.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;
using orv::test::ReadBytes;
using orv::test::TempFolder;
using ::testing::AllOf;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        if (!part.empty() && part.back() == '\r') part.pop_back();
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

class Orvbatch : public ExampleFolder {
protected:
    Orvbatch() { fs::create_directory(folder.path() / "out"); }

    std::vector<std::string> AnalyseExample(std::vector<std::string> more = {}) const {
        std::vector<std::string> arguments = {
            "analyse",  "--tm",  "ex/memory.tmx", "--user",           "anna",
            "--target", "de-DE", "--log",         "out/analysis.log", "ex/docs"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }
};

// Words per band as the CSV log has them, summed over its document rows, by the name the
// JSON output gives the band's field.
std::map<std::string, long> CsvWordSums(const std::string& csv) {
    const char* fields[] = {"WordsInRepetitions", "WordsIn100Matches", "WordsIn95Matches",
                            "WordsIn85Matches",   "WordsIn75Matches",  "WordsIn50Matches",
                            "WordsInNoMatches",   "WordsInRelay",      "WordsTotal"};
    std::map<std::string, long> sums;
    const auto lines = Split(csv, '\n');
    for (std::size_t row = 2; row < lines.size(); ++row) {
        if (lines[row].empty()) continue;
        const auto cells = Split(lines[row], ';');
        for (std::size_t band = 0; band < 9; ++band)
            sums[fields[band]] += std::stol(cells.at(3 + 4 * band + 1));
    }
    return sums;
}

TEST_F(Orvbatch, AnalysesTheExampleAndItsJsonAgreesWithTheCsvLog) {
    const auto run = Run(AnalyseExample({"--format", "json"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    const auto csv = ReadBytes(folder.path() / "out/analysis.csv");
    ASSERT_TRUE(fs::exists(folder.path() / "out/analysis.log"));

    ASSERT_EQ(json.at("documents").size(), 6u);
    for (const auto& document : json.at("documents")) {
        EXPECT_TRUE(document.at("FileProcessed").get<bool>()) << document.dump();
        EXPECT_TRUE(fs::path(document.at("FilePath").get<std::string>()).is_absolute());
    }
    for (const auto& [field, sum] : CsvWordSums(csv))
        EXPECT_EQ(json.at("total").at(field).get<long>(), sum) << field;
    // The example has something in each of these bands.
    for (const char* field : {"WordsInRepetitions", "WordsIn100Matches", "WordsInNoMatches"})
        EXPECT_GT(json.at("total").at(field).get<long>(), 0) << field;
}

// The script clients under Wine analyse the example against the engine registered as Tessera
// and must print every figure of every document as this reading of the same batch gives it:
// one line a field, booleans as scripts print them, CharsPerWord in hundredths.
TEST_F(Orvbatch, TheFiguresTheScriptClientsMustPrintAreOrvbatchsOwn) {
    const auto run = Run(AnalyseExample({"--format", "json"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    std::string lines;
    for (const auto& document : json.at("documents")) {
        const std::string name =
            fs::path(document.at("FilePath").get<std::string>()).filename().string();
        for (const auto& [field, value] : document.items()) {
            if (field == "FilePath" || field == "Key") continue;
            lines += name + " ";
            if (field == "CharsPerWord")
                lines += "CharsPerWord*100=" +
                         std::to_string(static_cast<long>(value.get<double>() * 100 + 0.5));
            else if (value.is_boolean())
                lines += field + "=" + (value.get<bool>() ? "True" : "False");
            else
                lines += field + "=" + value.dump();
            lines += "\n";
        }
    }
    EXPECT_EQ(lines, ReadBytes(ORV_ENGINE_SCRIPT_EXPECTATION))
        << "the engine's figures for the example changed: write them into "
        << ORV_ENGINE_SCRIPT_EXPECTATION;
}

// orvbatch.exe under Wine must print this same table for the example (the Windows tests hold
// it to the same file), so a change of the table or of the example's figures is made there too.
TEST_F(Orvbatch, TheExampleTableIsTheOneOrvbatchMustPrintOnEverySystem) {
    const auto run = Run({"analyse", "--tm", "ex/memory.tmx", "--user", "demo", "--target", "de-DE",
                          "--rates", "ex/rates.ini", "ex/docs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, ReadBytes(ORV_EXAMPLE_TABLE));
}

TEST_F(Orvbatch, PrintsTheTableOrTheCsvContent) {
    const auto table = Run(AnalyseExample());
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_THAT(table.out, AllOf(HasSubstr("guide.html"), HasSubstr("Total"), HasSubstr("No match"),
                                 Not(HasSubstr("\x1b["))));

    const auto csv = Run(AnalyseExample({"--format", "csv"}));
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const auto logLines = Split(ReadBytes(folder.path() / "out/analysis.csv"), '\n');
    const auto printed = Split(csv.out, '\n');
    ASSERT_GE(printed.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(printed[i], logLines[i]);
}

TEST_F(Orvbatch, WritesTheExportsTheProjectTmAndASelfContainedReport) {
    // Folders that are not there yet are made for every output.
    const auto run = Run(
        AnalyseExample({"--export-unknown", "out/new/unknown.tmx", "--export-unknown-type", "tmx",
                        "--export-frequent", "out/frequent.txt", "--occurrences", "2",
                        "--project-tm", "out/project.tmx", "--report", "out/report.html", "-q"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* name : {"new/unknown.tmx", "frequent.txt", "project.tmx", "report.html"})
        EXPECT_TRUE(fs::exists(folder.path() / "out" / name)) << name;
    EXPECT_THAT(ReadBytes(folder.path() / "out/new/unknown.tmx"), HasSubstr("<tmx"));
    const auto report = ReadBytes(folder.path() / "out/report.html");
    EXPECT_THAT(report, AllOf(HasSubstr("guide.html"), Not(HasSubstr("<script")),
                              Not(HasSubstr("http://")), Not(HasSubstr("https://"))));
}

TEST_F(Orvbatch, TakesTheAnalysisOptionsFromAFileShapedLikeTheTemplate) {
    const auto template_ = Run({"options-template"});
    ASSERT_EQ(template_.exitCode, 0);
    folder.Write("defaults.ini", template_.out);
    folder.Write("strict.ini", "[General]\nMinimumMatchValue = 100\n");
    folder.Write("typo.ini", "[General]\nMinimumMatchValu = 100\n");

    const auto defaults = Run(AnalyseExample({"--format", "json", "--options", "defaults.ini"}));
    ASSERT_EQ(defaults.exitCode, 0) << defaults.err;
    const auto plain = nlohmann::json::parse(Run(AnalyseExample({"--format", "json"})).out);
    EXPECT_EQ(nlohmann::json::parse(defaults.out), plain);

    // Only a 100% match counts as one now: the fuzzy bands empty into "no match".
    const auto strict = Run(AnalyseExample({"--format", "json", "--options", "strict.ini"}));
    ASSERT_EQ(strict.exitCode, 0) << strict.err;
    const auto total = nlohmann::json::parse(strict.out).at("total");
    for (const char* band :
         {"WordsIn95Matches", "WordsIn85Matches", "WordsIn75Matches", "WordsIn50Matches"})
        EXPECT_EQ(total.at(band).get<long>(), 0) << band;
    EXPECT_GT(total.at("WordsInNoMatches").get<long>(),
              plain.at("total").at("WordsInNoMatches").get<long>());

    const auto typo = Run(AnalyseExample({"--options", "typo.ini"}));
    EXPECT_EQ(typo.exitCode, 2);
    EXPECT_THAT(typo.err, HasSubstr("did you mean \"MinimumMatchValue\"?"));
}

TEST_F(Orvbatch, RefusesAWrongCommandLineWithExitCodeTwoAndAHint) {
    const struct {
        std::vector<std::string> arguments;
        const char* says;
    } cases[] = {
        {{"analyse", "--tmm", "ex/memory.tmx", "ex/docs"}, "did you mean \"--tm\"?"},
        {{"analyze", "--targte", "de-DE", "ex/docs"}, "did you mean \"--target\"?"},
        {{"analys", "ex/docs"}, "did you mean \"analyse\"?"},
        {{"tm", "craete", "x.tmx"}, "did you mean \"create\"?"},
        {{"analyse", "--password", "s3cret", "ex/docs"}, "never taken from the command line"},
        {{"analyse", "--password=s3cret", "ex/docs"}, "never taken from the command line"},
        {{"analyse", "--format", "xml", "ex/docs"}, "--format"},
        {{"analyse", "--target", "xx-nowhere", "ex/docs"}, "xx-nowhere"},
        {{"analyse", "--max-match", "120", "ex/docs"}, "--max-match"},
        {{"analyse", "--encoding", "klingon-8", "ex/docs"}, "\"klingon-8\" is no encoding"},
        {{"analyse", "--export-unknown-type", "pdf", "ex/docs"}, "pdf"},
        {{"analyse"}, "no documents"},
        {{"analyse", "ex/empty"}, "holds no documents"},
        {{"analyse", "ex/a;b.txt"}, "\";\""},
        {{"analyse", "--report", "ex/docs", "ex/docs"}, "is a folder"},
        {{"tm", "create", "--source", "de-DE", "x.tmx"}, "--target"},
        {{"tm"}, "orvbatch tm needs a command: create, info, add-user, remove-user"},
    };
    fs::create_directory(folder.path() / "ex/empty");
    for (const auto& c : cases) {
        const auto run = Run(c.arguments);
        SCOPED_TRACE(c.arguments.front() + " " + c.arguments.back());
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_THAT(run.err, AllOf(HasSubstr("orvbatch: error"), HasSubstr(c.says)));
        EXPECT_THAT(run.err + run.out, Not(HasSubstr("s3cret")));
    }
}

TEST_F(Orvbatch, ReportsAFailedAnalysisWithTheNumberItsMeaningAndExitCodeOne) {
    const struct {
        std::vector<std::string> arguments;
        const char* says;
    } cases[] = {
        {{"analyse", "--tm", "ex/none.tmx", "--user", "anna", "--target", "de-DE", "ex/docs"},
         "orvbatch: error 40015: Translation memory doesn't exist."},
        {{"analyse", "--tm", "ex/memory.tmx", "--target", "de-DE", "ex/docs"},
         "orvbatch: error 40014: No user name specified."},
        {{"analyse", "--tm", "ex/memory.tmx", "--user", "anna", "--target", "fr-FR", "ex/docs"},
         "orvbatch: error 40008: Unknown error\norvbatch: The translation memory has no "
         "translations into the target language."},
        {{"analyse", "--tm", "ex/memory.tmx", "--user", "anna", "--target", "de-DE",
          "--html-settings", "ex/none.ini", "ex/docs"},
         "orvbatch: error 40003: Unable to find file: "},
    };
    for (const auto& c : cases) {
        const auto run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_THAT(run.err, HasSubstr(c.says));
    }
}

TEST_F(Orvbatch, NamesEachDocumentItCouldNotAnalyseWithTheReasonAndExitsOne) {
    folder.Write("ex/binary.txt", std::string("\x89PNG\0\0\x01", 7));
    const auto run = Run(AnalyseExample({"ex/binary.txt"}));
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_THAT(run.out, AllOf(HasSubstr("guide.html"), HasSubstr("6 of 7 documents processed")));
    EXPECT_THAT(run.err, ContainsRegex("orvbatch: not analysed: /.*/ex/binary.txt: [A-Z]"));
    EXPECT_THAT(run.err, Not(HasSubstr("guide.html")));
}

TEST_F(Orvbatch, ProtectsAMemoryCreatedAndManagedByItsTmCommands) {
    folder.Write("right.txt", "correct horse\n");
    folder.Write("wrong.txt", "battery staple\n");
    ASSERT_EQ(Run({"tm", "create", "--source", "en-GB", "--target", "de-DE", "new.tmx"}).exitCode,
              0);
    EXPECT_EQ(Run({"tm", "create", "--source", "en-GB", "--target", "de-DE", "new.tmx"}).exitCode,
              2);  // never overwrites
    const auto added =
        Run({"tm", "add-user", "new.tmx", "--user", "bo", "--password-file", "right.txt"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    const auto info = Run({"tm", "info", "new.tmx"});
    EXPECT_THAT(info.out, AllOf(HasSubstr("bo"), HasSubstr("en-GB"), HasSubstr("de-DE")));

    const std::vector<std::string> analyse = {
        "analyse", "--tm", "new.tmx", "--user", "bo", "--target", "1031", "ex/docs/notes.txt"};
    auto with = [&](std::vector<std::string> more) {
        auto arguments = analyse;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    folder.Write("out/report.html", "earlier");
    const auto wrong = Run(with({"--password-file", "wrong.txt", "--report", "out/report.html"}));
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_THAT(wrong.err, HasSubstr("orvbatch: error 40016"));
    EXPECT_EQ(ReadBytes(folder.path() / "out/report.html"), "earlier");  // only results replace it
    EXPECT_EQ(Run(with({"--password-file", "right.txt"})).exitCode, 0);
    EXPECT_EQ(Run(analyse, {{"ORVBATCH_TM_PASSWORD", "correct horse"}}).exitCode, 0);
    // Not a terminal: no prompt, the empty password is tried and refused.
    EXPECT_EQ(Run(analyse).exitCode, 1);

    EXPECT_EQ(Run({"tm", "remove-user", "new.tmx", "--user", "bo"}).exitCode, 0);
    EXPECT_EQ(Run(analyse).exitCode, 0);  // open to anyone again
    EXPECT_EQ(Run({"tm", "remove-user", "new.tmx", "--user", "bo"}).exitCode, 2);  // no such user
}

TEST_F(Orvbatch, AddUserTakesAnEmptyPasswordOnlyWhenAllowed) {
    folder.Write("empty.txt", "\n");
    ASSERT_EQ(Run({"tm", "create", "--source", "en-GB", "--target", "de-DE", "new.tmx"}).exitCode,
              0);
    const std::string created = ReadBytes(folder.path() / "new.tmx");
    const std::vector<std::string> addUser = {"tm", "add-user", "new.tmx", "--user", "bo"};
    auto with = [&](std::vector<std::string> more) {
        auto arguments = addUser;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    folder.Write("nothing.txt", "");
    // Not a terminal: nobody to ask, so an empty password is refused and the TM is left as it
    // was.
    for (const char* file : {"empty.txt", "nothing.txt"}) {
        const auto refused = Run(with({"--password-file", file}));
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_THAT(refused.err, AllOf(HasSubstr("empty"), HasSubstr("--allow-empty-password")));
        EXPECT_EQ(ReadBytes(folder.path() / "new.tmx"), created);
    }
    const auto allowed = Run(with({"--password-file", "empty.txt", "--allow-empty-password"}));
    ASSERT_EQ(allowed.exitCode, 0) << allowed.err;
    EXPECT_THAT(Run({"tm", "info", "new.tmx"}).out, HasSubstr("Users: 1"));
}

TEST_F(Orvbatch, CtrlCStopsTheBatchWithTheFinishedCountAndExitCode130) {
    WriteLargeBatch(folder.path() / "large", 1000);
    RunningProgram program({"analyse", "--tm", "ex/memory.tmx", "--user", "anna", "--target",
                            "de-DE", "--log", "out/analysis.log", "large"},
                           folder.path(), {{"TEMP", (folder.path() / "tmp").string()}});
    // The job file appears when the component hands the batch to the engine.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (fs::is_empty(folder.path() / "tmp") && program.Running() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    program.Signal(SIGINT);
    const auto result = program.Wait();
    EXPECT_EQ(result.exitCode, 130) << result.err;
    EXPECT_THAT(result.err, ContainsRegex("cancelled; [0-9]+ of 1000 documents were finished"));
    EXPECT_FALSE(fs::exists(folder.path() / "out/analysis.csv"));
    EXPECT_TRUE(fs::is_empty(folder.path() / "tmp"));  // the job file was cleaned up
}

}  // namespace
}  // namespace orv::cli::test
