#include "cli/quote/BatchQuote.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "QuoteBatches.h"
#include "ReportBatches.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

using cli::Rounding;

// Band words in band order: repetitions, 100, 95-99, 85-94, 75-84, 50-74, relayed, no match.
constexpr BandWords NewWords(int32_t words) {
    return {0, 0, 0, 0, 0, 0, 0, words};
}

struct Expected {
    const char* weightedWords;
    const char* cost;
    bool minimumApplied = false;
};

struct Case {
    const char* behaviour;
    GridText grid;
    std::vector<std::optional<BandWords>> documents;  // none: a document that failed
    std::vector<std::optional<Expected>> priced;
    Expected total;
};

// Every figure below was worked out by hand from the grid and the words.
const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"each band's words count by the band's share",
         {"0.12", {"30", "30", "60", "80", "100", "100", "100", "100"}},
         {BandWords{10, 20, 30, 40, 0, 0, 0, 100}},
         {Expected{"159.00", "19.08"}},  // 3 + 6 + 18 + 32 + 100 words at 0.12
         {"159.00", "19.08"}},
        {"a price of 0.085 rounds 3.25125 down to the cent",
         {"0.085", {"25", "25", "50", "70", "100", "100", "100", "100"}},
         {BandWords{0, 43, 9, 0, 0, 11, 0, 12}},
         {Expected{"38.25", "3.25"}},  // 10.75 + 4.5 + 11 + 12 words
         {"38.25", "3.25"}},
        {"half a cent rounds up in each document, and the total adds the rounded costs",
         {"0.005"},
         {NewWords(1), NewWords(1)},
         {Expected{"1.00", "0.01"}, Expected{"1.00", "0.01"}},
         {"2.00", "0.02"}},
        {"with rounding on the total, half cents are summed before the one rounding",
         {"0.005", GridText{}.shares, Rounding::OnTotal},
         {NewWords(1), NewWords(1)},
         {Expected{"1.00", "0.01"}, Expected{"1.00", "0.01"}},
         {"2.00", "0.01"}},
        {"a short document costs the minimum per document, a long one its words",
         {"0.10", GridText{}.shares, Rounding::PerDocument, "5"},
         {NewWords(10), NewWords(100)},
         {Expected{"10.00", "5.00", true}, Expected{"100.00", "10.00"}},
         {"110.00", "15.00"}},
        {"the minimum per job lifts a small total",
         {"0.10", GridText{}.shares, Rounding::PerDocument, "0", "25"},
         {NewWords(10), NewWords(100)},
         {Expected{"10.00", "1.00"}, Expected{"100.00", "10.00"}},
         {"110.00", "25.00", true}},
        {"a minimum with a fraction of a cent is rounded like any cost",
         {"0.10", GridText{}.shares, Rounding::PerDocument, "2.505"},
         {NewWords(1)},
         {Expected{"1.00", "2.51", true}},
         {"1.00", "2.51"}},
        {"a document that failed has no cost and no minimum",
         {"0.10", GridText{}.shares, Rounding::PerDocument, "5"},
         {std::nullopt, NewWords(100)},
         {std::nullopt, Expected{"100.00", "10.00"}},
         {"100.00", "10.00"}},
        {"a document without words owes no minimum, nor does a job of such documents",
         {"0.10", GridText{}.shares, Rounding::PerDocument, "5", "25"},
         {BandWords{}, std::nullopt},
         {Expected{"0.00", "0.00"}, std::nullopt},
         {"0.00", "0.00"}},
        {"a batch with nothing analysed owes no minimum per job",
         {"0.10", GridText{}.shares, Rounding::PerDocument, "5", "25"},
         {std::nullopt},
         {std::nullopt},
         {"0.00", "0.00"}},
        {"a share of 33.3333% weighs three words as 0.999999",
         {"1", {"33.3333", "0", "0", "0", "0", "0", "0", "0"}},
         {BandWords{3, 0, 0, 0, 0, 0, 0, 0}},
         {Expected{"0.999999", "1.00"}},
         {"0.999999", "1.00"}},
        {"bands with a share of zero cost nothing",
         {"0.20", {"0", "0", "0", "0", "0", "0", "0", "100"}},
         {BandWords{50, 50, 50, 50, 50, 50, 50, 10}},
         {Expected{"10.00", "2.00"}},
         {"10.00", "2.00"}},
    };
    return cases;
}

void ExpectPriced(const std::optional<cli::PricedWords>& priced, const Expected& expected,
                  const std::string& where) {
    ASSERT_TRUE(priced) << where;
    EXPECT_EQ(priced->weightedWords.ExactText(), expected.weightedWords) << where;
    EXPECT_EQ(priced->cost.Format(2), expected.cost) << where;
    EXPECT_EQ(priced->minimumApplied, expected.minimumApplied) << where;
}

TEST(BatchQuote, WeightedWordsAndCostsAreThoseWorkedOutByHand) {
    for (const Case& c : Cases()) {
        Files files;
        for (std::size_t i = 0; i < c.documents.size(); ++i) {
            const std::wstring path = L"/docs/" + std::to_wstring(i) + L".txt";
            if (c.documents[i])
                AddProcessed(files, path, *c.documents[i]);
            else
                AddFailed(files, path);
        }
        const auto quote = cli::QuoteBatch(cli::SummariseBatch(files), GridOf(c.grid));
        ASSERT_EQ(quote.documents.size(), c.priced.size()) << c.behaviour;
        for (std::size_t i = 0; i < c.priced.size(); ++i) {
            const std::string where = std::string(c.behaviour) + ", document " + std::to_string(i);
            if (c.priced[i])
                ExpectPriced(quote.documents[i], *c.priced[i], where);
            else
                EXPECT_FALSE(quote.documents[i]) << where;
        }
        ExpectPriced(quote.total, c.total, std::string(c.behaviour) + ", total");
    }
}

TEST(BatchQuote, WordsTheLogLeftOutPriceNothingOnlyWhenTheirBandIsFree) {
    TempFolder folder;
    Files files;
    const std::wstring path = folder.wpath("a.txt");
    files.Add(path);
    // Repetitions 10 and 100% 190 words; the other bands' words are unknown.
    ParseLogRows(folder, files, ToNarrow(path) + ";0;5.5;2;10;0;5;8;190;3;95;10;200;1100;3\r\n");
    const auto summary = cli::SummariseBatch(files);
    ASSERT_TRUE(summary.documents[0].processed);

    const auto paysEveryBand = cli::QuoteBatch(summary, GridOf({"0.10"}));
    EXPECT_FALSE(paysEveryBand.documents[0]);
    EXPECT_FALSE(paysEveryBand.total) << "a total without the document would understate the job";

    const auto paysKnownBands =
        cli::QuoteBatch(summary, GridOf({"0.10", {"50", "50", "0", "0", "0", "0", "0", "0"}}));
    ExpectPriced(paysKnownBands.documents[0], {"100.00", "10.00"}, "known bands only");
    ExpectPriced(paysKnownBands.total, {"100.00", "10.00"}, "known bands only");
}

TEST(BatchQuote, AJobTooLargeToComputeIsRefusedNotWrapped) {
    Files files;
    AddProcessed(files, L"/docs/huge.txt", NewWords(2'000'000'000));
    EXPECT_THROW(cli::QuoteBatch(cli::SummariseBatch(files), GridOf({"1000000"})),
                 cli::DecimalOverflow);
    EXPECT_NO_THROW(cli::QuoteBatch(cli::SummariseBatch(files), GridOf({"1000"})));
}

}  // namespace
}  // namespace orv::test
