#include "front/BatchAnalyse.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(BatchAnalyse, StartsWithTheDocumentedInitialValues) {
    BatchAnalyse ba;
    EXPECT_EQ(ba.get_TranslationMemory(), L"");
    EXPECT_EQ(ba.get_TranslationMemoryUserName(), L"");
    EXPECT_EQ(ba.get_TranslationMemoryPassword(), L"");
    EXPECT_EQ(ba.get_TranslationMemorySourceLanguageId(), 0);
    EXPECT_EQ(ba.get_TranslationMemoryTargetLanguageId(), 0);
    EXPECT_EQ(ba.get_HTMLSettingsFileName(), L"");
    EXPECT_EQ(ba.get_SGMLSettingsFileName(), L"");
    EXPECT_FALSE(ba.get_UseTMFromPreviousAnalysis());
    EXPECT_EQ(ba.get_LogFileName(), L"");
    EXPECT_EQ(ba.get_ExportUnknownFileName(), L"");
    EXPECT_EQ(ba.get_ExportUnknownMaxMatch(), 85);
    EXPECT_EQ(ba.get_ExportUnknownFileType(), TsExportFileTypeTes2x);
    EXPECT_EQ(ba.get_ExportFrequentFileName(), L"");
    EXPECT_EQ(ba.get_ExportFrequentOccurrences(), 5);
    EXPECT_EQ(ba.get_ExportFrequentFileType(), TsExportFileTypeTes2x);
    EXPECT_EQ(ba.get_CreateProjectTMFileName(), L"");
    EXPECT_FALSE(ba.get_CreateEmptyTM());
    EXPECT_FALSE(ba.get_LoadWordObject());
    EXPECT_EQ(ba.get_Name(), L"");
    EXPECT_EQ(ba.get_Key(), L"");
    EXPECT_EQ(ba.GetCsvLogFileContent(), L"");
    EXPECT_EQ(ba.GetCsvLogFileContentWithoutHeader(), L"");
    EXPECT_EQ(ba.GetLogFileContent(), L"not implemented");
}

TEST(BatchAnalyse, StoresEveryValueUncheckedIncludingOutOfRangeOnes) {
    BatchAnalyse ba;
    ba.put_TranslationMemory(L"  not a path ");
    ba.put_TranslationMemoryUserName(L"ü");
    ba.put_TranslationMemoryPassword(L"p;w");
    ba.put_TranslationMemorySourceLanguageId(-7);
    ba.put_TranslationMemoryTargetLanguageId(INT32_MAX);
    ba.put_HTMLSettingsFileName(L"h");
    ba.put_SGMLSettingsFileName(L"s");
    ba.put_UseTMFromPreviousAnalysis(true);
    ba.put_LogFileName(L"l");
    ba.put_ExportUnknownFileName(L"u");
    ba.put_ExportUnknownMaxMatch(-5);
    ba.put_ExportUnknownFileType(static_cast<TsExportFileType>(9));
    ba.put_ExportFrequentFileName(L"f");
    ba.put_ExportFrequentOccurrences(INT32_MIN);
    ba.put_ExportFrequentFileType(TsExportFileTypeTesDOS);
    ba.put_CreateProjectTMFileName(L"p");
    ba.put_CreateEmptyTM(true);
    ba.put_LoadWordObject(true);
    ba.put_Name(L"n");
    ba.put_Key(L"k");

    EXPECT_EQ(ba.get_TranslationMemory(), L"  not a path ");
    EXPECT_EQ(ba.get_TranslationMemoryUserName(), L"ü");
    EXPECT_EQ(ba.get_TranslationMemoryPassword(), L"p;w");
    EXPECT_EQ(ba.get_TranslationMemorySourceLanguageId(), -7);
    EXPECT_EQ(ba.get_TranslationMemoryTargetLanguageId(), INT32_MAX);
    EXPECT_EQ(ba.get_HTMLSettingsFileName(), L"h");
    EXPECT_EQ(ba.get_SGMLSettingsFileName(), L"s");
    EXPECT_TRUE(ba.get_UseTMFromPreviousAnalysis());
    EXPECT_EQ(ba.get_LogFileName(), L"l");
    EXPECT_EQ(ba.get_ExportUnknownFileName(), L"u");
    EXPECT_EQ(ba.get_ExportUnknownMaxMatch(), -5);
    EXPECT_EQ(ba.get_ExportUnknownFileType(), 9);
    EXPECT_EQ(ba.get_ExportFrequentFileName(), L"f");
    EXPECT_EQ(ba.get_ExportFrequentOccurrences(), INT32_MIN);
    EXPECT_EQ(ba.get_ExportFrequentFileType(), 7);
    EXPECT_EQ(ba.get_CreateProjectTMFileName(), L"p");
    EXPECT_TRUE(ba.get_CreateEmptyTM());
    EXPECT_TRUE(ba.get_LoadWordObject());
    EXPECT_EQ(ba.get_Name(), L"n");
    EXPECT_EQ(ba.get_Key(), L"k");
}

TEST(BatchAnalyse, HandsOutOneSharedFilesCollectionUntilNoneIsPut) {
    BatchAnalyse ba;
    auto first = ba.get_Files();
    ASSERT_NE(first, nullptr);
    first->Add(L"a.txt");
    EXPECT_EQ(ba.get_Files(), first);

    ba.putref_Files(nullptr);
    auto fresh = ba.get_Files();
    EXPECT_NE(fresh, first);
    EXPECT_EQ(fresh->Count(), 0);
    EXPECT_EQ(first->Count(), 1);  // a client that kept the old one still has it
}

TEST(BatchAnalyse, SharesACollectionPutByReference) {
    BatchAnalyse ba;
    auto mine = std::make_shared<Files>();
    ba.putref_Files(mine);
    ba.get_Files()->Add(L"doc.txt");
    EXPECT_EQ(mine->Count(), 1);
}

}  // namespace
}  // namespace orv
