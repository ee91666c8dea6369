// Quotes end to end: orvbatch run on the bundled example with the bundled rate grid, the
// grid's faults, and where the grid comes from.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "ExampleFolder.h"
#include "ProgramRun.h"
#include "cli/quote/Decimal.h"
#include "support/TempFolder.h"

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;
using orv::test::ReadBytes;
using orv::test::TempFolder;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class OrvbatchQuote : public ExampleFolder {
protected:
    // An analysis of the example with `more` options.
    ProgramResult Run(const std::vector<std::string>& more) const {
        std::vector<std::string> arguments = {"analyse", "--tm",     "ex/memory.tmx", "--user",
                                              "anna",    "--target", "de-DE"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        arguments.push_back("ex/docs");
        return ExampleFolder::Run(arguments);
    }
};

// The Total row of the quote CSV, split at ";".
std::vector<std::string> CsvTotal(const std::string& text) {
    const std::size_t start = text.rfind("\r\nTotal;");
    std::vector<std::string> cells;
    std::istringstream in(text.substr(start + 2, text.size() - start - 4));
    for (std::string cell; std::getline(in, cell, ';');) cells.push_back(cell);
    return cells;
}

TEST_F(OrvbatchQuote, EveryOutputCarriesTheSameQuoteAndItsDocumentsAddUpToTheTotal) {
    const auto run = Run({"--rates", "ex/rates.ini", "--format", "json", "--quote", "out/quote.csv",
                          "--report", "out/report.html"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    Decimal sum;
    for (const auto& document : json.at("documents"))
        sum += Decimal::Parse(document.at("quote").at("cost").get<std::string>()).value();
    const std::string total = json.at("total").at("quote").at("cost");
    EXPECT_EQ(sum.Format(2), total);
    EXPECT_EQ(CsvTotal(ReadBytes(folder.path() / "out/quote.csv")).at(4), total);
    EXPECT_THAT(ReadBytes(folder.path() / "out/report.html"),
                AllOf(HasSubstr("<h2 id=\"quote\">Quote</h2>"), HasSubstr(total + " EUR")));

    const auto table = Run({"--rates", "ex/rates.ini"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    // messages.po is short enough for the example grid's minimum per document.
    EXPECT_THAT(table.out, AllOf(HasSubstr("  Cost: " + total + " EUR\n"),
                                 HasSubstr("  Cost: 2.50 EUR (minimum per document)\n")));
}

TEST_F(OrvbatchQuote, TheCsvOutputStaysTheCsvLogAndTheQuoteGoesToItsOwnFile) {
    const auto plain = Run({"--format", "csv"});
    const auto quoted = Run({"--format", "csv", "--rates", "ex/rates.ini"});
    ASSERT_EQ(quoted.exitCode, 0) << quoted.err;
    EXPECT_EQ(quoted.out, plain.out);
    EXPECT_THAT(quoted.err, HasSubstr("--quote FILE.csv writes the quote"));
}

TEST_F(OrvbatchQuote, ABadGridStopsTheRunBeforeAnythingIsWritten) {
    folder.Write("bad-share.ini", "[Rates]\nprice = 0.1\ncurrency = EUR\n[Shares]\n100 = 130%\n");
    folder.Write("options.ini", "[General]\nMinimumMatchValue = 70\n[Rates]\nprice = -1\n");
    const struct {
        std::vector<std::string> options;
        std::string fault;
    } cases[] = {
        {{"--rates", "bad-share.ini"}, "bad-share.ini:5: 100: \"130%\" is over 100%"},
        {{"--rates", "missing.ini"}, "cannot read the rate grid missing.ini"},
        {{"--options", "options.ini"}, "options.ini:4: price: \"-1\" is negative"},
        // The option file's grid is checked even when --rates replaces it.
        {{"--options", "options.ini", "--rates", "ex/rates.ini"}, "options.ini:4: price:"},
        {{"--quote", "out/quote.csv"}, "--quote needs a rate grid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        auto options = c.options;
        options.insert(options.end(), {"--log", "out/analysis.log", "--report", "out/r.html"});
        const auto run = Run(options);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_THAT(run.err, HasSubstr("orvbatch: error: " + c.fault));
        EXPECT_THAT(run.out, IsEmpty());
        EXPECT_FALSE(fs::exists(folder.path() / "out")) << "nothing written, no folder made";
    }
}

TEST_F(OrvbatchQuote, TheOptionFilesGridIsUsedUnlessRatesNamesAnother) {
    folder.Write("client.ini",
                 "[General]\nMinimumMatchValue = 70\n"
                 "[Rates]\nprice = 1\ncurrency = CHF\n"
                 "[Shares]\nrepetitions = 0\n100 = 0\n95-99 = 0\n85-94 = 0\n75-84 = 0\n"
                 "50-74 = 0\nrelayed = 0\nno-match = 100\n");
    const auto own = Run({"--options", "client.ini", "--format", "json"});
    ASSERT_EQ(own.exitCode, 0) << own.err;
    const auto json = nlohmann::json::parse(own.out);
    const auto& total = json.at("total");
    EXPECT_EQ(total.at("quote").at("currency"), "CHF");
    // One franc for each new word, nothing for the rest.
    EXPECT_EQ(total.at("quote").at("cost"),
              std::to_string(total.at("WordsInNoMatches").get<int>()) + ".00");
    EXPECT_THAT(own.err, Not(HasSubstr("rate grid")));
    const auto both = Run({"--options", "client.ini", "--rates", "client.ini", "--format", "json"});
    ASSERT_EQ(both.exitCode, 0) << both.err;
    EXPECT_EQ(nlohmann::json::parse(both.out), json);

    const auto replaced =
        Run({"--options", "client.ini", "--rates", "ex/rates.ini", "--format", "json"});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(nlohmann::json::parse(replaced.out).at("total").at("quote").at("currency"), "EUR");
    EXPECT_THAT(replaced.err,
                HasSubstr("the rate grid of --rates ex/rates.ini is used, not the one "
                          "in the option file client.ini"));
}

}  // namespace
}  // namespace orv::cli::test
