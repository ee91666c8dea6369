#include "cli/report/BatchSummary.h"

#include <gtest/gtest.h>

#include "ReportBatches.h"
#include "platform/NarrowText.h"

namespace orv::test {
namespace {

using cli::kUnknownCount;
using cli::SummariseBatch;

TEST(BatchSummaryTest, TheTotalSumsTheProcessedDocumentsOnly) {
    Files files;
    AddProcessed(files, L"/docs/a.txt", {10, 190, 0, 0, 0, 0, 0, 0}, 2);
    AddFailed(files, L"/docs/failed.txt");
    // Numbers without a processed flag are not results of this run.
    auto stale = files.Add(L"/docs/stale.txt");
    stale->put_WordsTotal(1000);
    stale->put_WordsInNoMatches(1000);
    AddProcessed(files, L"/docs/b.txt", {0, 50, 25, 0, 0, 0, 0, 25}, 1);

    const auto summary = SummariseBatch(files);
    ASSERT_EQ(summary.documents.size(), 4u);
    EXPECT_EQ(summary.ProcessedCount(), 2u);
    const auto& total = summary.total;
    EXPECT_EQ(total.words, 300);
    EXPECT_EQ(total.characters, 1500);
    EXPECT_EQ(total.segments, 1 + 19 + 5 + 3 + 3);
    EXPECT_EQ(total.placeables, 5);
    EXPECT_EQ(total.taggingErrors, 3);
    EXPECT_DOUBLE_EQ(total.charsPerWord, 5.0);
    EXPECT_EQ(total.band(Band::Matches100).words, 240);
    EXPECT_EQ(total.band(Band::NoMatches).words, 25);
    EXPECT_FALSE(total.processed);  // not every document was
    EXPECT_TRUE(total.processingError);
    EXPECT_TRUE(total.path.empty());
}

TEST(BatchSummaryTest, EachBandOfTheTotalIsItsShareOfAllWordsInWholePercent) {
    struct Case {
        const char* what;
        BandWords first, second;
        std::array<int64_t, kBandCount> percent;
    };
    const Case cases[] = {
        {"thirds", {1}, {0, 2}, {33, 67}},
        {"halves round up", {1, 3}, {0, 4}, {13, 88}},  // 12.5% and 87.5%
        // Not the average of the documents' shares.
        {"weighted by words", {100}, {0, 900}, {10, 90}},
    };
    for (const Case& c : cases) {
        Files files;
        AddProcessed(files, L"a", c.first);
        AddProcessed(files, L"b", c.second);
        const auto total = SummariseBatch(files).total;
        std::array<int64_t, kBandCount> percent{};
        for (std::size_t b = 0; b < kBandCount; ++b) percent[b] = total.bands[b].percent;
        EXPECT_EQ(percent, c.percent) << c.what;
    }
}

TEST(BatchSummaryTest, WithoutWordsEveryTotalIsZeroAndSaysWhetherAllWasProcessed) {
    enum Batch { kNoDocument, kFailedDocument, kEmptyDocument };
    for (Batch batch : {kNoDocument, kFailedDocument, kEmptyDocument}) {
        Files files;
        if (batch == kFailedDocument) AddFailed(files, L"failed.txt");
        if (batch == kEmptyDocument) AddProcessed(files, L"empty.txt", {});
        const auto total = SummariseBatch(files).total;
        for (std::size_t i = 0; i < kCountFieldCount; ++i) {
            EXPECT_EQ(cli::CountOf(total, static_cast<CountField>(i)), 0) << batch << " " << i;
        }
        EXPECT_EQ(total.charsPerWord, 0.0) << batch;
        EXPECT_EQ(total.processed, batch == kEmptyDocument) << batch;
        EXPECT_EQ(total.processingError, batch == kFailedDocument) << batch;
    }
}

TEST(BatchSummaryTest, ValuesTheLogLackedDoNotPoisonTheTotal) {
    TempFolder folder;
    Files files;
    // The log has columns for repetitions, 100% matches and total only.
    const std::wstring a = folder.wpath("a.txt");
    const std::wstring b = folder.wpath("b.txt");
    files.Add(a);
    files.Add(b);
    ParseLogRows(folder, files,
                 ToNarrow(a) + ";0;5.5;2;10;0;5;8;190;3;95;10;200;1100;3\r\n" + ToNarrow(b) +
                     ";1;4;1;5;0;50;1;5;0;50;2;10;40;1\r\n");
    ASSERT_TRUE(files.Item(2)->get_FileProcessed());
    files.Item(2)->put_CharactersTotal(-1);  // as a log without that cell leaves it
    // A band the first document knows and the second does not.
    files.Item(1)->put_WordsIn95Matches(7);

    const auto summary = SummariseBatch(files);
    const auto& total = summary.total;
    EXPECT_EQ(summary.documents[0].band(Band::Relay).words, kUnknownCount);
    EXPECT_EQ(total.band(Band::Repetitions).words, 15);
    EXPECT_EQ(total.band(Band::Matches95).words, 7);
    EXPECT_EQ(total.band(Band::Matches95).segments, kUnknownCount);
    EXPECT_EQ(total.band(Band::Relay).words, kUnknownCount);
    EXPECT_EQ(total.band(Band::Relay).percent, kUnknownCount);
    EXPECT_EQ(total.band(Band::Matches100).percent, 93);  // 195 of 210
    EXPECT_EQ(total.words, 210);
    EXPECT_EQ(total.characters, 1100);
    // Only a knows both, so the ratio is a's own.
    EXPECT_DOUBLE_EQ(total.charsPerWord, 5.5);
}

TEST(BatchSummaryTest, DocumentRowsKeepTheRecordsValues) {
    Files files;
    auto record = files.Add(L"C:\\Docs\\a.rtf", L"first");
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        record->Set(static_cast<CountField>(i), static_cast<int32_t>(i) + 1);
    }
    record->put_CharsPerWord(4.25);
    record->put_FileProcessed(true);

    const auto row = SummariseBatch(files).documents.at(0);
    EXPECT_EQ(row.path, L"C:\\Docs\\a.rtf");
    EXPECT_EQ(row.key, L"first");
    EXPECT_TRUE(row.processed);
    EXPECT_EQ(row.charsPerWord, 4.25);
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        EXPECT_EQ(cli::CountOf(row, static_cast<CountField>(i)), static_cast<int64_t>(i) + 1)
            << "field " << i;
    }
    // The log's own percentages, not recomputed.
    EXPECT_EQ(row.band(Band::Matches95).percent, record->get_PercentIn95Matches());
}

TEST(BatchSummaryTest, TotalsOfLargeDocumentsDoNotOverflow) {
    Files files;
    for (int i = 0; i < 3; ++i) {
        AddProcessed(files, L"big", {0, 0, 0, 0, 0, 0, 0, 2'000'000'000});
    }
    const auto total = SummariseBatch(files).total;
    EXPECT_EQ(total.words, 6'000'000'000);
    EXPECT_EQ(total.band(Band::NoMatches).percent, 100);
}

}  // namespace
}  // namespace orv::test
