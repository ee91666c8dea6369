// The members that link BatchAnalyse to Tessera: who creates the session and Tessera, what
// is copied into the session and when, and where the cancel event goes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "front/BatchAnalyse.h"
#include "platform/AutomationError.h"
#include "support/FakePlatform.h"
#include "support/FakeTessera.h"

namespace orv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TesseraMembers : public ::testing::Test {
protected:
    ServiceSet Services() const { return ServiceSet(platform, DefaultFileSystem(), objects); }
    std::shared_ptr<FakeTesseraApplication> App() const { return objects->application(); }

    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    std::shared_ptr<FakeObjectServices> objects = std::make_shared<FakeObjectServices>();
    BatchAnalyse ba{Services()};
};

TEST_F(TesseraMembers, StartTesseraSaysWhetherItCreatedTheSession) {
    EXPECT_TRUE(ba.CloseTessera()) << "with no session";
    EXPECT_THAT(*objects->log, IsEmpty());
    EXPECT_TRUE(ba.StartTessera());
    EXPECT_FALSE(ba.StartTessera());
    EXPECT_EQ(objects->Calls("Objects.CreateTessera"), 1);

    EXPECT_TRUE(ba.CloseTessera());
    EXPECT_TRUE(App()->quit);
    EXPECT_TRUE(ba.StartTessera());
    EXPECT_EQ(objects->Calls("Objects.CreateTessera"), 2);
}

class TesseraUnavailable : public TesseraMembers, public ::testing::WithParamInterface<bool> {};

TEST_P(TesseraUnavailable, Raises40001AndKeepsTheSessionForALaterStart) {
    (GetParam() ? objects->tesseraCreateThrows : objects->tesseraMissing) = true;
    try {
        ba.StartTessera();
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), 40001);
        EXPECT_EQ(error.source(), L"");
        EXPECT_EQ(error.description(), L"Unable to open Tessera");
    }

    objects->tesseraCreateThrows = objects->tesseraMissing = false;
    EXPECT_FALSE(ba.StartTessera()) << "the session was not kept";
    EXPECT_NE(ba.get_BATessera()->application(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BatchAnalyse, TesseraUnavailable, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Throws" : "GivesNone"; });

TEST_F(TesseraMembers, PropertiesReachTheSessionOnlyWithTheNextCopy) {
    ba.put_TranslationMemory(L"first.tmv");
    ba.put_TranslationMemoryTargetLanguageId(1033);
    auto session = ba.get_BATessera();
    EXPECT_EQ(session->get_TranslationMemory(), L"first.tmv");
    EXPECT_EQ(session->get_TranslationMemoryTargetLanguageId(), 1033);

    ba.put_TranslationMemory(L"second.tmv");
    ba.put_TranslationMemoryUserName(L"anna");
    ba.put_TranslationMemoryPassword(L"pw");
    ba.put_TranslationMemorySourceLanguageId(1031);
    ba.put_LoadWordObject(true);
    EXPECT_EQ(ba.get_BATessera(), session);
    EXPECT_EQ(session->get_TranslationMemory(), L"first.tmv");
    EXPECT_EQ(session->get_TranslationMemoryUserName(), L"");
    EXPECT_FALSE(session->get_LoadWordObject());

    ba.putref_BATessera(session);
    EXPECT_EQ(session->get_TranslationMemory(), L"second.tmv");
    EXPECT_EQ(session->get_TranslationMemoryUserName(), L"anna");
    EXPECT_EQ(session->get_TranslationMemoryPassword(), L"pw");
    EXPECT_EQ(session->get_TranslationMemorySourceLanguageId(), 1031);
    EXPECT_TRUE(session->get_LoadWordObject());
}

class FirstRead : public TesseraMembers, public ::testing::WithParamInterface<bool> {};

TEST_P(FirstRead, StartsWordOnlyWhenLoadWordObjectIsSet) {
    ba.put_LoadWordObject(GetParam());
    ba.get_BATessera();
    ba.get_BATessera();  // a second read copies nothing and starts nothing
    EXPECT_EQ(objects->Calls("Objects.CreateWord"), GetParam() ? 1 : 0);
    EXPECT_EQ(objects->wordLookUps, GetParam() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(BatchAnalyse, FirstRead, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Load" : "NoLoad"; });

// --- The cancel event ---------------------------------------------------------------------

class CancelEvent : public TesseraMembers {
protected:
    CancelEvent() {
        subscription_ = ba.OnBatchAnalysisCancelledByUser.Subscribe(
            [this](int32_t processed) { received.push_back(processed); });
    }
    std::vector<int32_t> received;

private:
    Subscription subscription_;
};

TEST_F(CancelEvent, ReachesTheClientWithTheUnchangedCount) {
    ba.StartTessera();
    App()->OnBatchCancelledByUser.Raise(3);
    App()->OnBatchCancelledByUser.Raise(-1);
    EXPECT_THAT(received, ElementsAre(3, -1));
}

TEST_F(CancelEvent, StopsWithCloseTessera) {
    ba.StartTessera();
    auto app = App();
    ba.CloseTessera();
    app->OnBatchCancelledByUser.Raise(3);
    EXPECT_THAT(received, IsEmpty());
}

TEST_F(CancelEvent, FollowsThePutSession) {
    ba.StartTessera();
    auto first = App();
    auto other = std::make_shared<clsBATessera>(Services());
    other->StartTessera();
    ba.putref_BATessera(other);

    first->OnBatchCancelledByUser.Raise(3);
    App()->OnBatchCancelledByUser.Raise(4);
    ba.putref_BATessera(nullptr);
    App()->OnBatchCancelledByUser.Raise(5);
    EXPECT_THAT(received, ElementsAre(4));
    EXPECT_FALSE(first->quit) << "a put releases the previous session, it does not close it";
}

TEST_F(TesseraMembers, ASessionTheClientKeepsOutlivesTheBatchAnalyseSafely) {
    auto owner = std::make_unique<BatchAnalyse>(Services());
    int fromOwner = 0;
    auto ownerEvents =
        owner->OnBatchAnalysisCancelledByUser.Subscribe([&](int32_t) { ++fromOwner; });
    owner->StartTessera();
    auto session = owner->get_BATessera();
    std::vector<int32_t> fromSession;
    auto sessionEvents = session->OnBatchCancelledByUser.Subscribe(
        [&](int32_t processed) { fromSession.push_back(processed); });

    owner.reset();
    App()->OnBatchCancelledByUser.Raise(2);

    EXPECT_THAT(fromSession, ElementsAre(2));
    EXPECT_EQ(fromOwner, 0);
    EXPECT_FALSE(App()->quit) << "destruction closes nothing";
}

}  // namespace
}  // namespace orv::test
