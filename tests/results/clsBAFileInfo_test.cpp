#include "results/clsBAFileInfo.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Every statistics field set to a distinct non-zero value, as a parse would leave them.
clsBAFileInfo ProcessedRecord() {
    clsBAFileInfo r;
    r.put_FilePath(L"C:\\Docs\\a.rtf");
    for (std::size_t i = 0; i < kCountFieldCount; ++i)
        r.Set(static_cast<CountField>(i), static_cast<int32_t>(i) + 1);
    r.put_CharsPerWord(5.5);
    r.put_FileProcessed(true);
    return r;
}

void ExpectAllStatisticsZero(const clsBAFileInfo& r) {
    for (std::size_t i = 0; i < kCountFieldCount; ++i)
        EXPECT_EQ(r.Get(static_cast<CountField>(i)), 0) << "field " << i;
    EXPECT_EQ(r.get_CharsPerWord(), 0.0);
}

TEST(clsBAFileInfo, NamedAccessorsAndFieldTableAgree) {
    clsBAFileInfo r;
    r.put_PercentInNoMatches(42);
    r.put_WordsInRelay(7);
    r.put_CharactersTotal(1100);
    EXPECT_EQ(r.Get(BandField(Band::NoMatches, Measure::Percent)), 42);
    EXPECT_EQ(r.Get(BandField(Band::Relay, Measure::Words)), 7);
    EXPECT_EQ(r.Get(CountField::CharactersTotal), 1100);
    r.Set(BandField(Band::Matches95, Measure::Placeables), 3);
    EXPECT_EQ(r.get_PlaceablesIn95Matches(), 3);
}

TEST(clsBAFileInfo, SettingThePathYieldsAFreshRecord) {
    auto r = ProcessedRecord();
    r.put_ProcessingError(false);
    r.Set(CountField::TaggingErrors, 4);
    r.put_FileProcessed(true);
    r.put_FilePath(L"  other path ");
    EXPECT_EQ(r.get_FilePath(), L"  other path ");  // kept exactly as given
    EXPECT_FALSE(r.get_FileProcessed());
    EXPECT_FALSE(r.get_ProcessingError());
    ExpectAllStatisticsZero(r);
}

TEST(clsBAFileInfo, FileProcessedFalseClearsTrueChangesNothing) {
    clsBAFileInfo fresh;
    fresh.put_FileProcessed(true);
    EXPECT_TRUE(fresh.get_FileProcessed());
    ExpectAllStatisticsZero(fresh);

    auto processed = ProcessedRecord();
    processed.put_FileProcessed(true);
    EXPECT_EQ(processed.get_SegmentsTotal(), static_cast<int32_t>(CountField::SegmentsTotal) + 1);
    processed.put_FileProcessed(false);
    ExpectAllStatisticsZero(processed);
    EXPECT_EQ(processed.get_FilePath(), L"C:\\Docs\\a.rtf");
}

TEST(clsBAFileInfo, ProcessingErrorTrueFailsTheRecordAndFalseRestoresNothing) {
    auto r = ProcessedRecord();
    r.put_ProcessingError(true);
    EXPECT_TRUE(r.get_ProcessingError());
    EXPECT_FALSE(r.get_FileProcessed());
    ExpectAllStatisticsZero(r);

    r.put_ProcessingError(false);
    EXPECT_FALSE(r.get_ProcessingError());
    EXPECT_FALSE(r.get_FileProcessed());
    ExpectAllStatisticsZero(r);
}

TEST(clsBAFileInfo, ProcessingErrorFalseOnAProcessedRecordKeepsItsStatistics) {
    auto r = ProcessedRecord();
    r.put_ProcessingError(false);
    EXPECT_TRUE(r.get_FileProcessed());
    EXPECT_EQ(r.get_CharsPerWord(), 5.5);
}

}  // namespace
}  // namespace orv
