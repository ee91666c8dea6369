#include <gtest/gtest.h>

#include <functional>

#include "results/ErrorNumberOf.h"
#include "results/Files.h"

namespace orv::test {
namespace {

// Every statistics field set to a distinct non-zero value, as a parse leaves them.
clsBAFileInfo ProcessedRecord() {
    clsBAFileInfo r;
    r.put_FilePath(L"C:\\Docs\\a.rtf");
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        r.Set(static_cast<CountField>(i), static_cast<int32_t>(i) + 1);
    }
    r.put_CharsPerWord(5.5);
    r.put_FileProcessed(true);
    return r;
}

bool StatisticsCleared(const clsBAFileInfo& r) {
    bool cleared = r.get_CharsPerWord() == 0.0;
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        cleared = cleared && r.Get(static_cast<CountField>(i)) == 0;
    }
    return cleared;
}

TEST(clsBAFileInfoTest, FileProcessedFalseClearsTheStatisticsButTrueOrNoErrorChangesNothing) {
    auto r = ProcessedRecord();
    r.put_FileProcessed(true);
    r.put_ProcessingError(false);  // neither changes anything
    EXPECT_TRUE(r.get_FileProcessed());
    EXPECT_EQ(r.get_CharsPerWord(), 5.5);
    EXPECT_EQ(r.get_PercentInNoMatches(), static_cast<int32_t>(kCountFieldCount));
    r.put_FileProcessed(false);
    EXPECT_TRUE(StatisticsCleared(r));
    EXPECT_EQ(r.get_FilePath(), L"C:\\Docs\\a.rtf");
}

TEST(clsBAFileInfoTest, AnErrorFailsTheRecordUntilANewPathMakesItFresh) {
    auto r = ProcessedRecord();
    r.put_ProcessingError(true);
    EXPECT_FALSE(r.get_FileProcessed());
    EXPECT_TRUE(StatisticsCleared(r));
    r.put_ProcessingError(false);  // restores nothing
    EXPECT_FALSE(r.get_ProcessingError());
    EXPECT_FALSE(r.get_FileProcessed());

    r.put_ProcessingError(true);
    EXPECT_TRUE(r.get_ProcessingError());
    r.put_FileProcessed(true);
    r.put_CharsPerWord(5.5);
    r.put_FilePath(L"  other ");
    EXPECT_EQ(r.get_FilePath(), L"  other ");  // kept exactly as given
    EXPECT_FALSE(r.get_FileProcessed());
    EXPECT_FALSE(r.get_ProcessingError());
    EXPECT_TRUE(StatisticsCleared(r));
}

TEST(FilesTest, AddGivesAFreshRecordSharedWithTheCollection) {
    Files files;
    auto keyless = files.Add(L"C:\\Docs\\a.rtf");
    auto keyed = files.Add(L"doc.txt", L"K");
    EXPECT_EQ(keyless->get_Key(), L"");
    EXPECT_EQ(keyed->get_FilePath(), L"doc.txt");
    EXPECT_EQ(keyed->get_Key(), L"K");
    EXPECT_FALSE(keyed->get_FileProcessed());
    EXPECT_EQ(files.NewEnum(), (std::vector<Files::Record>{keyless, keyed}));
    keyed->put_WordsTotal(12);  // a change through either reference is seen by both
    EXPECT_EQ(files.Item(2)->get_WordsTotal(), 12);
}

TEST(FilesTest, KeysIgnoreLetterCaseAndAreUnique) {
    Files files;
    auto first = files.Add(L"one", L"Straße");
    EXPECT_EQ(files.Item(L"STRAẞE"), first);
    EXPECT_EQ(files.Item(L"straße"), first);
    EXPECT_EQ(ErrorNumberOf([&] { files.Add(L"two", L"STRAẞE"); }), kErrDuplicateKey);
    EXPECT_EQ(files.Count(), 1);
    files.Add(L"one");  // the same path again, without a key, is allowed
    EXPECT_EQ(files.Count(), 2);
}

TEST(FilesTest, BadPositionsAndMissingKeysFailWithTheUsualNumbers) {
    Files files;
    files.Add(L"a", L"Straße");
    files.Add(L"b");
    const std::pair<std::function<void()>, int32_t> cases[] = {
        {[&] { files.Item(0); }, kErrSubscriptOutOfRange},
        {[&] { files.Item(-1); }, kErrSubscriptOutOfRange},
        {[&] { files.Item(3); }, kErrSubscriptOutOfRange},
        {[&] { files.Remove(3); }, kErrSubscriptOutOfRange},
        {[&] { files.Item(L"STRASSE"); }, kErrInvalidProcedureCall},  // ß is not SS
        {[&] { files.Item(L""); }, kErrInvalidProcedureCall},
        {[&] { files.Remove(L"nope"); }, kErrInvalidProcedureCall},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ErrorNumberOf(cases[i].first), cases[i].second) << "case " << i;
    }
    EXPECT_EQ(files.Count(), 2);
}

TEST(FilesTest, RemovingMovesLaterRecordsUpFreesTheKeyAndSparesAnEnumeration) {
    Files files;
    auto a = files.Add(L"a", L"A");
    auto b = files.Add(L"b", L"B");
    auto c = files.Add(L"c");
    files.Remove(1);
    EXPECT_EQ(files.NewEnum(), (std::vector<Files::Record>{b, c}));
    EXPECT_EQ(ErrorNumberOf([&] { files.Item(L"a"); }), kErrInvalidProcedureCall);
    files.Add(L"a again", L"a");  // the key is free again
    files.Remove(L"b");
    EXPECT_EQ(ErrorNumberOf([&] { files.Item(L"B"); }), kErrInvalidProcedureCall);
    EXPECT_EQ(files.Item(1), c);
    EXPECT_EQ(files.Count(), 2);
    EXPECT_EQ(a->get_FilePath(), L"a");  // a removed record stays valid for its holder

    std::wstring seen;  // enumeration visits a snapshot, so a loop may remove records
    for (const auto& r : files.NewEnum()) {
        seen += r->get_FilePath();
        files.Remove(1);
    }
    EXPECT_EQ(seen, L"ca again");
    EXPECT_EQ(files.Count(), 0);
}

}  // namespace
}  // namespace orv::test
