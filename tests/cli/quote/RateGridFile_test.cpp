#include "cli/quote/RateGridFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "cli/tm/TesseraOptionsFile.h"
#include "cli/tm/UsageError.h"
#include "support/TempFolder.h"

namespace orv::cli {
namespace {

using orv::test::TempFolder;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kShares =
    "[Shares]\n"
    "repetitions = 30%\n"
    "100 = 30\n"
    "95-99 = 60 %\n"
    "85-94 = 80%\n"
    "75-84 = 100\n"
    "50-74 = 100\n"
    "relayed = 100\n"
    "no-match = 100\n";

const std::string kRates =
    "[Rates]\n"
    "price = 0.085\n"
    "currency = EUR\n";

std::string Percent(const Decimal& fraction) {
    return Decimal::FromUnits(fraction.units() * 100).ExactText();
}

TEST(RateGridFile, ReadsPricesSharesMinimumsAndRoundingWhateverTheLetterCase) {
    TempFolder folder;
    const auto file = folder.Write("rates.ini",
                                   "\xef\xbb\xbf; a client's grid\r\n"
                                   "[RATES]\r\n"
                                   "Price = 0.085\r\n"
                                   "currency = CHF\r\n"
                                   "rounding = Total\r\n"
                                   "minimum-per-document = 2.5\r\n"
                                   "# the job's own minimum\r\n"
                                   "MINIMUM-PER-JOB = 40\r\n" +
                                       kShares);
    const RateGrid grid = ReadRateGridFile(file);
    EXPECT_EQ(grid.pricePerWord.ExactText(), "0.085");
    EXPECT_EQ(grid.currency, "CHF");
    EXPECT_EQ(grid.rounding, Rounding::OnTotal);
    EXPECT_EQ(grid.minimumPerDocument.ExactText(), "2.50");
    EXPECT_EQ(grid.minimumPerJob.ExactText(), "40.00");
    EXPECT_EQ(grid.file, file.string());
    const char* shares[] = {"30.00",  "30.00",  "60.00",  "80.00",
                            "100.00", "100.00", "100.00", "100.00"};
    for (std::size_t b = 0; b < kBandCount; ++b) EXPECT_EQ(Percent(grid.shares[b]), shares[b]) << b;
}

TEST(RateGridFile, LeftOutRoundingAndMinimumsMeanPerDocumentAndNone) {
    TempFolder folder;
    const RateGrid grid = ReadRateGridFile(folder.Write("rates.ini", kRates + kShares));
    EXPECT_EQ(grid.rounding, Rounding::PerDocument);
    EXPECT_EQ(grid.minimumPerDocument, Decimal());
    EXPECT_EQ(grid.minimumPerJob, Decimal());
}

TEST(RateGridFile, TheTemplateIsAValidGridLabelledAsAnExample) {
    TempFolder folder;
    const RateGrid grid = ReadRateGridFile(folder.Write("template.ini", RateGridTemplate()));
    EXPECT_EQ(grid.pricePerWord.ExactText(), "0.12");
    EXPECT_EQ(grid.currency, "EUR");
    EXPECT_EQ(Percent(grid.share(Band::Matches95)), "60.00");
    EXPECT_THAT(RateGridTemplate(), HasSubstr("EXAMPLE"));
    EXPECT_THAT(RateGridTemplate(), HasSubstr("not a standard"));
}

TEST(RateGridFile, ABadGridIsRefusedNamingTheFileLineAndKey) {
    const struct {
        std::string text;
        std::string fault;  // after "<file>:"
    } cases[] = {
        {kRates + "[Shares]\n95-99 = 101%\n", "5: 95-99: \"101%\" is over 100%"},
        {kRates + "[Shares]\nrelayed = -5\n", "5: relayed: \"-5\" is negative"},
        {kRates + "[Shares]\nnomatch = 50\n",
         "5: nomatch: unknown band; did you mean \"no-match\"?"},
        {kRates + "[Shares]\nfuzzy = 50\n", "5: fuzzy: unknown band; they are repetitions, 100,"},
        {kRates + "[Shares]\n100 = 33.33333\n", "5: 100: \"33.33333\" has more than 4 decimals"},
        {kRates + "[Shares]\n100 = half\n", "5: 100: \"half\" is no percent"},
        {kRates + "[Shares]\n100 = %\n", "5: 100: \"%\" is no percent"},
        {kRates + "[Shares]\nprice = 1\n", "5: price: belongs in [Rates], not here"},
        {"[Rates]\nprice = 0,085\n", "2: price: \"0,085\" is no amount"},
        {"[Rates]\nprice = 0.1 ; per word\n", "2: price: \"0.1 ; per word\" is no amount"},
        {"[Rates]\nprice = -0.1\n", "2: price: \"-0.1\" is negative"},
        {"[Rates]\nprice =\n", "2: price: has no value"},
        {"[Rates]\nminimum-per-job = -5\n", "2: minimum-per-job: \"-5\" is negative"},
        {"[Rates]\nprice = 1\nPRICE = 2\n", "3: price: is given a second time (first on line 2)"},
        {"[Rates]\nprise = 1\n", "2: prise: unknown key in [Rates]; did you mean \"price\"?"},
        {"[Rates]\nrounding = cent\n", "2: rounding: \"cent\" is neither document"},
        {"[Rates]\ncurrency = EURO-DOLLAR-FRANCS\n", "2: currency: \"EURO-DOLLAR-FRANCS\" is no"},
        {"[Rates]\n100 = 30\n", "2: 100: belongs in [Shares], not here"},
        {"price = 1\n", "1: price: outside a section; it belongs under [Rates]"},
        {"no-match = 1\n", "1: no-match: outside a section; it belongs under [Shares]"},
        {"[Rate]\n", "1: unknown section [Rate]; did you mean [Rates]?"},
        {"[General]\n", "1: unknown section [General]; a rate grid has [Rates] and [Shares]"},
        {"[Rates]\nprice 0.1\n", "2: expected KEY = VALUE"},
        {kShares, " price: missing; [Rates] needs the price of one new word"},
        {"[Rates]\nprice = 1\n" + kShares, " currency: missing"},
        {kRates + "[Shares]\nrepetitions = 0\n100 = 0\n",
         " [Shares] gives no share for 95-99, 85-94, 75-84, 50-74, relayed, no-match"},
    };
    TempFolder folder;
    const auto file = folder.Write("rates.ini", "");
    for (const auto& c : cases) {
        folder.Write("rates.ini", c.text);
        try {
            ReadRateGridFile(file);
            ADD_FAILURE() << "no fault in:\n" << c.text;
        } catch (const UsageError& error) {
            EXPECT_THAT(error.what(), StartsWith(file.string() + ":" + c.fault)) << c.text;
        }
    }
}

TEST(RateGridFile, AGridInTheOptionsFileIsReadAndTheOptionsReaderPassesItBy) {
    TempFolder folder;
    const std::string options =
        "OptionsGeneralMaximumHits = 7\n"
        "[General]\nMinimumMatchValue = 70\n" +
        kRates + kShares + "[Penalties]\n";
    const auto file = folder.Write("client.ini", options);
    const auto grid = ReadRateGridOfOptionsFile(file);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->pricePerWord.ExactText(), "0.085");
    clsBATesseraSettings settings;
    ReadTesseraOptionsFile(file, settings);
    EXPECT_EQ(settings.get_OptionsGeneralMinimumMatchValue(), 70);
    EXPECT_EQ(settings.get_OptionsGeneralMaximumHits(), 7);

    EXPECT_FALSE(ReadRateGridOfOptionsFile(folder.Write("plain.ini", "[General]\n")));
    // Half a grid is a mistake, not a file without one.
    EXPECT_THAT([&] { ReadRateGridOfOptionsFile(folder.Write("half.ini", kRates)); },
                ::testing::ThrowsMessage<UsageError>(HasSubstr("[Shares] gives no share")));
    EXPECT_THAT(
        [&] {
            ReadRateGridOfOptionsFile(
                folder.Write("bad.ini", "[General]\nMinimumMatchValue = 70\n[Rates]\nprice=x\n"));
        },
        ::testing::ThrowsMessage<UsageError>(HasSubstr("bad.ini:4: price: \"x\" is no amount")));
}

}  // namespace
}  // namespace orv::cli
