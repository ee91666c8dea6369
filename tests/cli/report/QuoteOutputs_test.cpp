// The quote as each output shows it: the table's lines, the JSON objects and the CSV file,
// read back and summed as a buyer's spreadsheet would.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "QuoteBatches.h"
#include "ReportBatches.h"
#include "cli/quote/QuoteCsv.h"
#include "cli/report/JsonResult.h"
#include "cli/report/ResultTable.h"

namespace orv::test {
namespace {

using cli::Decimal;
using cli::Rounding;
using nlohmann::json;
using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

const std::wstring kAwkwardPath = L"/docs/say \"hi\"; bye.txt";

// 67, 12 and 7 weighted words at 0.125: 8.375, 1.50 and 0.875, whose cents differ by the
// place of the rounding (10.76 per document, 10.75 on the total).
Files QuotedBatch() {
    Files files;
    AddProcessed(files, kAwkwardPath, {10, 20, 30, 0, 0, 0, 5, 35});
    AddFailed(files, L"/docs/failed.txt");
    AddProcessed(files, L"/docs/b.txt", {0, 0, 0, 0, 0, 0, 0, 12});
    AddProcessed(files, L"/docs/c.txt", {0, 0, 0, 0, 0, 0, 0, 7});
    return files;
}

GridText Grid(Rounding rounding, const std::string& minimumPerDocument = "0") {
    return {"0.125",
            {"30", "30", "60", "80", "100", "100", "100", "100"},
            rounding,
            minimumPerDocument};
}

Strings Lines(const std::string& text) {
    Strings lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The quote lines of the table, each block's after its "Total" row.
std::vector<Strings> QuoteBlocks(const std::string& table) {
    std::vector<Strings> blocks;
    const Strings lines = Lines(table);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("  Total ", 0) != 0) continue;
        Strings block;
        for (std::size_t j = i + 1; j < lines.size() && !lines[j].empty(); ++j) {
            if (lines[j].rfind("  Repetitions and 100%", 0) != 0) block.push_back(lines[j]);
        }
        blocks.push_back(block);
    }
    return blocks;
}

std::string Table(const GridText& grid) {
    const auto summary = cli::SummariseBatch(QuotedBatch());
    const auto quote = cli::QuoteBatch(summary, GridOf(grid));
    std::ostringstream out;
    cli::WriteResultTable(out, summary, cli::TableStyle{}, &quote);
    return out.str();
}

TEST(QuoteOutputs, TheTableHasAWeightedWordsAndACostLineUnderEachAnalysedDocumentAndTheTotal) {
    EXPECT_THAT(QuoteBlocks(Table(Grid(Rounding::PerDocument))),
                ElementsAre(Strings{"  Weighted words: 67.00", "  Cost: 8.38 EUR"},
                            Strings{"  Weighted words: 12.00", "  Cost: 1.50 EUR"},
                            Strings{"  Weighted words: 7.00", "  Cost: 0.88 EUR"},
                            Strings{"  Weighted words: 86.00", "  Cost: 10.76 EUR"}));
    EXPECT_THAT(
        QuoteBlocks(Table(Grid(Rounding::OnTotal, "1"))),
        ElementsAre(Strings{"  Weighted words: 67.00", "  Cost: 8.38 EUR (rounded for reading)"},
                    Strings{"  Weighted words: 12.00", "  Cost: 1.50 EUR (rounded for reading)"},
                    Strings{"  Weighted words: 7.00",
                            "  Cost: 1.00 EUR (minimum per document; rounded for reading)"},
                    Strings{"  Weighted words: 86.00", "  Cost: 10.88 EUR",
                            "  Document costs are rounded for reading only; the total is rounded "
                            "once."}));
    // Without a grid the table is as it always was.
    std::ostringstream plain;
    cli::WriteResultTable(plain, cli::SummariseBatch(QuotedBatch()), cli::TableStyle{});
    EXPECT_EQ(plain.str().find("Cost"), std::string::npos);
}

Decimal Sum(const Strings& amounts) {
    Decimal sum;
    for (const auto& amount : amounts) sum += Decimal::Parse(amount).value();
    return sum;
}

TEST(QuoteOutputs, TheJsonCostsReadBackAndSumToTheTotalTheGridRoundingGives) {
    for (const Rounding rounding : {Rounding::PerDocument, Rounding::OnTotal}) {
        const auto summary = cli::SummariseBatch(QuotedBatch());
        const auto quote = cli::QuoteBatch(summary, GridOf(Grid(rounding)));
        std::ostringstream out;
        cli::WriteResultJson(out, summary, &quote);
        const json result = json::parse(out.str());
        Strings costs, exact;
        for (const json& document : result["documents"]) {
            if (document["quote"].is_null()) {
                EXPECT_FALSE(document["FileProcessed"].get<bool>());
                continue;
            }
            costs.push_back(document["quote"]["cost"]);
            exact.push_back(document["quote"]["exactCost"]);
        }
        ASSERT_EQ(costs.size(), 3u);
        const json& total = result["total"]["quote"];
        const Decimal summed = rounding == Rounding::PerDocument ? Sum(costs) : Sum(exact);
        EXPECT_EQ(summed.Format(2), total["cost"]);
        EXPECT_EQ(total["cost"], rounding == Rounding::PerDocument ? "10.76" : "10.75");
        EXPECT_EQ(total["weightedWords"], "86.00");
        EXPECT_EQ(total["rounding"], rounding == Rounding::PerDocument ? "document" : "total");
        EXPECT_EQ(total["currency"], "EUR");
        EXPECT_EQ(total["pricePerWord"], "0.125");
        EXPECT_EQ(total["shares"]["95-99"], "60");
        EXPECT_EQ(total["minimumApplied"], false);
    }
}

Strings Cells(const std::string& line) {
    Strings cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ';');) cells.push_back(cell);
    return cells;
}

TEST(QuoteOutputs, TheCsvQuoteHasARowPerDocumentAndATotalThatItsRowsAddUpTo) {
    const auto summary = cli::SummariseBatch(QuotedBatch());
    const auto quote = cli::QuoteBatch(summary, GridOf(Grid(Rounding::PerDocument, "1")));
    const std::string csv = cli::QuoteCsvText(summary, quote);
    ASSERT_EQ(csv.substr(csv.size() - 2), "\r\n");
    std::vector<Strings> rows;
    std::size_t start = 0;
    for (std::size_t end; (end = csv.find("\r\n", start)) != std::string::npos; start = end + 2)
        rows.push_back(Cells(csv.substr(start, end - start)));
    ASSERT_EQ(rows.size(), 6u);
    rows[1].erase(rows[1].begin(), rows[1].begin() + 1);  // the name's own ";" split it
    EXPECT_EQ(rows[0], (Strings{"File", "Status", "Words", "Weighted words", "Cost", "Exact cost",
                                "Minimum applied", "Currency"}));
    // The awkward name is one quoted cell, its quotes doubled.
    const std::size_t second = csv.find("\r\n") + 2;
    EXPECT_EQ(csv.substr(second, csv.find("\r\n", second) - second),
              "\"/docs/say \"\"hi\"\"; bye.txt\";analysed;100;67.00;8.38;8.375;no;EUR");
    EXPECT_EQ(rows[2], (Strings{"/docs/failed.txt", "not analysed", "", "", "", "", "", "EUR"}));
    EXPECT_EQ(rows[4],
              (Strings{"/docs/c.txt", "analysed", "7", "7.00", "1.00", "1.00", "yes", "EUR"}));
    Strings costs, weighted;
    for (std::size_t row = 1; row + 1 < rows.size(); ++row) {
        if (rows[row][1] != "analysed") continue;
        costs.push_back(rows[row][4]);
        weighted.push_back(rows[row][3]);
    }
    const Strings& total = rows.back();
    EXPECT_EQ(total[0], "Total");
    EXPECT_EQ(Sum(costs).Format(2), total[4]);
    EXPECT_EQ(Sum(weighted).ExactText(), total[3]);
    EXPECT_EQ(total[4], "10.88");
}

}  // namespace
}  // namespace orv::test
