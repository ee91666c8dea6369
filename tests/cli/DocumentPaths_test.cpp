// The documents a user names, orvbatch run in its own process: two whose paths differ only in
// letter case each keep their own figures, and what is no document is refused before
// anything runs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "ProgramRun.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;
using orv::test::TempFolder;
using ::testing::HasSubstr;

class DocumentPaths : public ::testing::Test {
protected:
    DocumentPaths() {
        fs::copy_file(fs::path(ORV_EXAMPLES_DIR) / "memory.tmx", folder.path() / "memory.tmx");
        fs::create_directory(folder.path() / "tmp");
    }

    // The JSON records of an analysis of `documents`, by path.
    std::map<std::string, nlohmann::json> Analyse(const std::vector<std::string>& documents) {
        std::vector<std::string> arguments = {"analyse",  "--tm",  "memory.tmx", "--user", "anna",
                                              "--target", "de-DE", "--format",   "json"};
        arguments.insert(arguments.end(), documents.begin(), documents.end());
        const auto run =
            RunOrvbatch(arguments, folder.path(),
                        {{"TEMP", (folder.path() / "tmp").string()}, {"ORVBATCH_TM_PASSWORD", ""}});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::map<std::string, nlohmann::json> byPath;
        if (run.exitCode != 0) return byPath;
        const auto json = nlohmann::json::parse(run.out);
        for (const auto& document : json.at("documents"))
            byPath[fs::path(document.at("FilePath").get<std::string>()).filename().string()] =
                document;
        return byPath;
    }

    TempFolder folder;
};

TEST_F(DocumentPaths, EachKeepsTheFiguresItHasWhenAnalysedAlone) {
    folder.Write("case/UPPER.TXT", "Open the file menu.\n");
    folder.Write("case/upper.txt",
                 "Select an option in the settings window and close it.\nPrint the page.\n");
    // A file system that ignores case keeps one file under both names.
    if (std::distance(fs::directory_iterator(folder.path() / "case"), fs::directory_iterator()) !=
        2)
        GTEST_SKIP() << "the temporary folder's file system ignores letter case";

    const auto upperAlone = Analyse({"case/UPPER.TXT"});
    const auto lowerAlone = Analyse({"case/upper.txt"});
    const auto both = Analyse({"case/UPPER.TXT", "case/upper.txt"});
    ASSERT_EQ(both.size(), 2u);
    for (const auto& [name, alone] : {std::pair{"UPPER.TXT", upperAlone.at("UPPER.TXT")},
                                      std::pair{"upper.txt", lowerAlone.at("upper.txt")}}) {
        SCOPED_TRACE(name);
        const auto& record = both.at(name);
        EXPECT_TRUE(record.at("FileProcessed").get<bool>());
        for (const char* field : {"WordsTotal", "SegmentsTotal", "CharactersTotal"})
            EXPECT_EQ(record.at(field), alone.at(field)) << field;
    }
    // The two documents differ, so figures swapped or shared would show.
    EXPECT_NE(both.at("UPPER.TXT").at("WordsTotal"), both.at("upper.txt").at("WordsTotal"));
}

TEST_F(DocumentPaths, ANameWithBytesTheLocaleCannotReadIsAnalysedAsTheFileItNames) {
    // Two names alike but for a byte that is no UTF-8: each must reach its own file.
    folder.Write("bytes/caf\xE9.txt", "Open the file menu.\n");
    folder.Write("bytes/caf\xE8.txt", "Select an option in the settings window and close it.\n");
    const auto run = RunOrvbatch({"analyse", "--tm", "memory.tmx", "--user", "anna", "--target",
                                  "de-DE", "--format", "json", "bytes"},
                                 folder.path(),
                                 {{"TEMP", (folder.path() / "tmp").string()},
                                  {"ORVBATCH_TM_PASSWORD", ""},
                                  {"LC_ALL", "C.UTF-8"}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto documents = nlohmann::json::parse(run.out).at("documents");
    ASSERT_EQ(documents.size(), 2u);
    std::vector<int> words;
    for (const auto& document : documents) {
        EXPECT_TRUE(document.at("FileProcessed").get<bool>());
        // JSON holds text: the byte shows as the replacement character.
        EXPECT_THAT(document.at("FilePath").get<std::string>(), HasSubstr("/caf\uFFFD.txt"));
        words.push_back(document.at("WordsTotal").get<int>());
    }
    EXPECT_THAT(words, ::testing::UnorderedElementsAre(4, 10));
}

TEST_F(DocumentPaths, ADeviceOrPipeIsRefusedAtOnceByNameAndNothingRuns) {
    folder.Write("doc.txt", "Open the file menu.\n");
    ASSERT_EQ(::mkfifo((folder.path() / "pipe.txt").c_str(), 0600), 0);
    const struct {
        std::string document, says;
    } cases[] = {
        {"/dev/zero", "cannot analyse \"/dev/zero\": it is a character device"},
        {"pipe.txt", "cannot analyse \"pipe.txt\": it is a named pipe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        RunningProgram program(
            {"analyse", "--tm", "memory.tmx", "--user", "anna", "--target", "de-DE", "doc.txt",
             c.document},
            folder.path(),
            {{"TEMP", (folder.path() / "tmp").string()}, {"ORVBATCH_TM_PASSWORD", ""}});
        // It used to read /dev/zero until the memory ran out and wait on the pipe for ever.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (program.Running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_FALSE(program.Running()) << "still running after 10 s";
        const auto result = program.Wait();
        EXPECT_EQ(result.exitCode, 2) << result.err;
        EXPECT_THAT(result.err, HasSubstr(c.says));
        EXPECT_TRUE(fs::is_empty(folder.path() / "tmp"));
        EXPECT_FALSE(fs::exists(folder.path() / "analysis.csv"));
    }
}

}  // namespace
}  // namespace orv::cli::test
