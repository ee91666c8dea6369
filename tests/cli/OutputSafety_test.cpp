// What orvbatch never does to the user's files, run in its own process: write an output over
// an input or over another output, let two runs with one log cross their results, or leave an
// output cut short.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
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
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class OrvbatchOutputs : public ExampleFolder {
protected:
    OrvbatchOutputs() {
        fs::create_directory(folder.path() / "out");
        folder.Write("password.txt", "secret\n");
        folder.Write("options.ini", "");
        folder.Write("settings.ini", "");
    }

    std::vector<std::string> Analyse(const std::vector<std::string>& more,
                                     const std::string& log = "out/analysis.log") const {
        std::vector<std::string> arguments = {"analyse", "--tm",  "ex/memory.tmx",
                                              "--user",  "anna",  "--target",
                                              "de-DE",   "--log", log};
        arguments.insert(arguments.end(), more.begin(), more.end());
        arguments.push_back("ex/docs");
        return arguments;
    }

    // Every file of the folder and its bytes, to tell that a refused run changed nothing.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
            if (entry.is_symlink() || !entry.is_regular_file()) continue;
            files[fs::relative(entry.path(), folder.path()).string()] = ReadBytes(entry.path());
        }
        return files;
    }

};

TEST_F(OrvbatchOutputs, RefusesAnyOutputThatIsAnInputOrAnotherOutputAndWritesNothing) {
    struct Case {
        std::vector<std::string> options;
        std::string outputRole, path, otherRole;
    };
    const Case cases[] = {
        {{"--report", "ex/memory.tmx"}, "the report", "ex/memory.tmx", "the translation memory"},
        {{"--report", "ex/docs/notes.txt"}, "the report", "ex/docs/notes.txt", "the document"},
        {{"--password-file", "password.txt", "--report", "password.txt"},
         "the report",
         "password.txt",
         "the password file"},
        {{"--report", "out/analysis.log"}, "the report", "out/analysis.log", "the log"},
        {{"--report", "out/analysis.csv"}, "the report", "out/analysis.csv", "the CSV log"},
        {{"--password-file", "password.txt", "--export-unknown", "password.txt"},
         "the export of unknown segments",
         "password.txt",
         "the password file"},
        {{"--options", "options.ini", "--export-frequent", "options.ini"},
         "the export of frequent segments",
         "options.ini",
         "the option file"},
        {{"--html-settings", "settings.ini", "--project-tm", "settings.ini"},
         "the project TM",
         "settings.ini",
         "the HTML settings file"},
        {{"--sgml-settings", "settings.ini", "--report", "./out/../settings.ini"},
         "the report",
         "./out/../settings.ini",
         "the SGML settings file"},
        {{"--export-unknown", "out/same.txt", "--export-frequent", "out/same.txt"},
         "the export of frequent segments",
         "out/same.txt",
         "the export of unknown segments"},
        {{"--report", "out/tm-link.html"},
         "the report",
         "out/tm-link.html",
         "the translation memory"},
        {{"--project-tm", "tm-hard-link.tmx"},
         "the project TM",
         "tm-hard-link.tmx",
         "the translation memory"},
        {{"--rates", "ex/rates.ini", "--quote", "ex/rates.ini"},
         "the quote",
         "ex/rates.ini",
         "the rate grid"},
        {{"--options", "client.ini", "--quote", "client.ini"},
         "the quote",
         "client.ini",
         "the option file"},
        {{"--rates", "ex/rates.ini", "--report", "out/quote.csv", "--quote", "out/quote.csv"},
         "the quote",
         "out/quote.csv",
         "the report"},
    };
    fs::copy_file(folder.path() / "ex/rates.ini", folder.path() / "client.ini");
    fs::create_symlink(folder.path() / "ex/memory.tmx", folder.path() / "out/tm-link.html");
    fs::create_hard_link(folder.path() / "ex/memory.tmx", folder.path() / "tm-hard-link.tmx");
    const auto before = Snapshot();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.back());
        const auto run = Run(Analyse(c.options));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_THAT(run.err, AllOf(HasSubstr(c.outputRole + " \"" + c.path + "\""),
                                   HasSubstr(c.otherRole), HasSubstr("nothing was written")));
        EXPECT_THAT(run.out, IsEmpty());
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(OrvbatchOutputs, ARunThatFailsBeforeWritingTakesAwayTheFoldersItMade) {
    folder.Write("damaged.tmx", "<tmx version=\"1.4\"><body><tu>");
    const std::vector<std::string> outputs = {"--log",
                                              "made/log/analysis.log",
                                              "--report",
                                              "made/report/r.html",
                                              "--export-unknown",
                                              "made/unknown/u.txt",
                                              "--project-tm",
                                              "made/deep/er/p.tmx"};
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
    };
    const Case cases[] = {
        {"a TM that cannot be opened",
         {"analyse", "--tm", "damaged.tmx", "--user", "anna", "--target", "de-DE"},
         1},
        {"an output onto an input",
         {"analyse", "--tm", "ex/memory.tmx", "--user", "anna", "--target", "de-DE", "--report",
          "ex/memory.tmx"},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), outputs.begin(), outputs.end());
        arguments.push_back("ex/docs");
        EXPECT_EQ(Run(arguments).exitCode, c.exitCode);
        EXPECT_FALSE(fs::exists(folder.path() / "made"));
        EXPECT_TRUE(fs::is_directory(folder.path() / "out"));  // not made by the run: it stays
    }
    // A run that writes keeps the folders it wrote into.
    const auto run = Run({"analyse", "--tm", "ex/memory.tmx", "--user", "anna", "--target", "de-DE",
                          "--log", "made/log/analysis.log", "ex/docs"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(folder.path() / "made/log/analysis.log"));
}

TEST_F(OrvbatchOutputs, ASecondRunWithTheSameLogFailsAtOnceWhileTheFirstHoldsIt) {
    // The test stands in for the first run: it holds the lock a run takes.
    const fs::path lockFile = folder.path() / "out/analysis.log.lock";
    const int held = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

    const auto started = std::chrono::steady_clock::now();
    const auto second = Run(Analyse({"--format", "json"}));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_THAT(second.err, HasSubstr("orvbatch: out/analysis.log is in use by another analysis"));
    EXPECT_THAT(second.out, IsEmpty());
    EXPECT_FALSE(fs::exists(folder.path() / "out/analysis.log"));

    // Another log is another analysis; and once the first has finished, the log is free. A log
    // named *.csv is its own CSV log, not a second output on the same file.
    EXPECT_EQ(Run(Analyse({"--format", "json"}, "out/own.csv")).exitCode, 0);
    EXPECT_EQ(Run(Analyse({"--format", "json"}, "out/other.log")).exitCode, 0);
    ::close(held);
    EXPECT_EQ(Run(Analyse({"--format", "json"})).exitCode, 0);
    // A finished run takes its lock file with it.
    for (const char* left : {"out/analysis.log.lock", "out/own.csv.lock", "out/other.log.lock"})
        EXPECT_FALSE(fs::exists(folder.path() / left)) << left;
}

TEST_F(OrvbatchOutputs, TwoRunsWithOneLogNeverCrossTheirResults) {
    WriteLargeBatch(folder.path() / "large", 1500);
    folder.Write("small/one.txt", "Open the file menu.\n");
    const std::vector<std::string> common = {
        "analyse", "--tm",  "ex/memory.tmx",  "--user",   "anna", "--target",
        "de-DE",   "--log", "out/shared.log", "--format", "json"};
    auto with = [&](const char* documents) {
        auto arguments = common;
        arguments.push_back(documents);
        return arguments;
    };
    RunningProgram first(with("large"), folder.path(), Environment());
    // The first run holds the lock from before its job until its results are read.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(folder.path() / "out/shared.log.lock") && first.Running() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(first.Running()) << "done before the second started: make the batch larger";

    const auto second = Run(with("small"));
    const auto result = first.Wait();
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_THAT(second.err, HasSubstr("out/shared.log is in use by another analysis"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The first run's figures are its own: all 1,500 documents, none of the second's.
    EXPECT_EQ(nlohmann::json::parse(result.out).at("documents").size(), 1500u);
    EXPECT_EQ(Run(with("small")).exitCode, 0);  // free again once the first is done
}

// A file-size limit stands in for a full disk: writes past it fail (SIGXFSZ is ignored, so the
// process sees EFBIG, as it would ENOSPC). Both are inherited by the program started meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

TEST_F(OrvbatchOutputs, AReportThatCannotBeWrittenWholeLeavesTheEarlierOneAndNoTemporaryFile) {
    // The logs of the example are a few kilobytes, its self-contained report about ten.
    folder.Write("out/report.html", "earlier report");
    std::optional<RunningProgram> run;
    {
        const FileSizeLimit limit(6000);
        run.emplace(Analyse({"--format", "json", "--report", "out/report.html"}), folder.path(),
                    Environment());
    }
    const auto result = run->Wait();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("cannot write the report \"out/report.html\""));
    EXPECT_EQ(ReadBytes(folder.path() / "out/report.html"), "earlier report");
    for (const auto& entry : fs::directory_iterator(folder.path() / "out"))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

}  // namespace
}  // namespace orv::cli::test
