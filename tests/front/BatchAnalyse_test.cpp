// BatchAnalyse outside an analysis: its defaults, the collection, the session with Tessera it
// creates or is given, and where the session's cancel event goes.
#include "front/BatchAnalyse.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/FakePlatform.h"
#include "support/FakeTessera.h"

namespace orv::test {
namespace {

using ::testing::ElementsAre;

class BatchAnalyseTest : public ::testing::Test {
protected:
    ServiceSet Services() const { return ServiceSet(platform, DefaultFileSystem(), objects); }
    std::shared_ptr<FakeTesseraApplication> App() const { return objects->application(); }

    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    std::shared_ptr<FakeObjectServices> objects = std::make_shared<FakeObjectServices>();
    BatchAnalyse ba{Services()};
};

TEST_F(BatchAnalyseTest, StartsWithTheDocumentedDefaults) {
    EXPECT_EQ(ba.get_ExportUnknownMaxMatch(), 85);
    EXPECT_EQ(ba.get_ExportUnknownFileType(), TsExportFileTypeTes2x);
    EXPECT_EQ(ba.get_ExportFrequentOccurrences(), 5);
    EXPECT_EQ(ba.get_ExportFrequentFileType(), TsExportFileTypeTes2x);
    EXPECT_EQ(ba.GetCsvLogFileContent(), L"");
    EXPECT_EQ(ba.GetLogFileContent(), L"not implemented");
}

TEST_F(BatchAnalyseTest, HandsOutOneSharedCollectionUntilNoneIsPut) {
    auto first = ba.get_Files();
    first->Add(L"a.txt");
    EXPECT_EQ(ba.get_Files(), first);
    ba.putref_Files(nullptr);
    EXPECT_EQ(ba.get_Files()->Count(), 0);
    EXPECT_EQ(first->Count(), 1) << "a client that kept the old one still has it";
}

TEST_F(BatchAnalyseTest, PropertiesAndWordReachTheSessionOnItsFirstReadAndOnAPut) {
    ba.put_TranslationMemory(L"first.tmv");
    ba.put_LoadWordObject(true);
    auto session = ba.get_BATessera();
    EXPECT_EQ(session->get_TranslationMemory(), L"first.tmv");
    EXPECT_EQ(objects->Calls("Objects.CreateWord"), 1);

    ba.put_TranslationMemory(L"second.tmv");
    ba.put_TranslationMemoryPassword(L"pw");
    EXPECT_EQ(ba.get_BATessera(), session);
    EXPECT_EQ(session->get_TranslationMemory(), L"first.tmv");
    EXPECT_EQ(objects->Calls("Objects.CreateWord"), 1);

    ba.putref_BATessera(session);
    EXPECT_EQ(session->get_TranslationMemory(), L"second.tmv");
    EXPECT_EQ(session->get_TranslationMemoryPassword(), L"pw");
}

TEST_F(BatchAnalyseTest, TheCancelEventFollowsTheHeldSessionAndStopsWhenItIsLetGoOrTheObjectDies) {
    auto owner = std::make_unique<BatchAnalyse>(Services());
    std::vector<int32_t> received;
    auto subscription = owner->OnBatchAnalysisCancelledByUser.Subscribe(
        [&](int32_t processed) { received.push_back(processed); });
    owner->StartTessera();
    auto first = owner->get_BATessera();
    App()->OnBatchCancelledByUser.Raise(-1);
    auto other = std::make_shared<clsBATessera>(Services());
    owner->putref_BATessera(other);
    first->OnBatchCancelledByUser.Raise(3);
    other->OnBatchCancelledByUser.Raise(4);
    owner->CloseTessera();
    other->OnBatchCancelledByUser.Raise(5);
    owner->putref_BATessera(first);
    owner.reset();
    first->OnBatchCancelledByUser.Raise(6);  // a session the client keeps outlives its owner
    EXPECT_THAT(received, ElementsAre(-1, 4));
    EXPECT_FALSE(App()->quit) << "neither a put nor the owner's end closes a session";
}

}  // namespace
}  // namespace orv::test
