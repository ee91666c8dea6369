// The session's life: starting and closing Tessera, Word in the background, the cancel event.
#include "tessera/clsBATessera.h"

#include <gtest/gtest.h>

#include <vector>

#include "TesseraSession.h"

namespace orv {
namespace {

using test::Session;

TEST(clsBATessera, StartTesseraCreatesTheApplicationOnceAndLeavesWordAloneTheSecondTime) {
    Session s;
    s.tessera->put_LoadWordObject(true);
    EXPECT_TRUE(s.tessera->StartTessera());
    EXPECT_EQ(s.tessera->application(), s.objects->application());
    const auto callsAfterFirst = *s.objects->log;
    EXPECT_FALSE(s.tessera->StartTessera());
    EXPECT_EQ(*s.objects->log, callsAfterFirst);
    EXPECT_EQ(s.objects->wordLookUps, 1);
    EXPECT_EQ(s.objects->Calls("Objects.CreateTessera"), 1);
}

TEST(clsBATessera, StartTesseraWithoutTesseraRaisesUnableToOpenTessera) {
    for (bool throws : {false, true}) {
        Session s;
        s.objects->tesseraMissing = !throws;
        s.objects->tesseraCreateThrows = throws;
        s.tessera->put_LoadWordObject(true);
        try {
            s.tessera->StartTessera();
            ADD_FAILURE() << "no error";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), 40001);
            EXPECT_EQ(error.description(), L"Unable to open Tessera");
        }
        EXPECT_EQ(s.tessera->application(), nullptr);
        EXPECT_EQ(s.objects->wordLookUps, 0);
    }
}

TEST(clsBATessera, CloseTesseraClosesTheTMQuitsAndQuitsTheWordItStarted) {
    Session s;
    s.tessera->put_LoadWordObject(true);
    s.tessera->StartTessera();
    s.tessera->OpenTM();
    s.objects->log->clear();
    EXPECT_TRUE(s.tessera->CloseTessera());
    EXPECT_EQ(*s.objects->log,
              (std::vector<std::string>{"TM.Close", "Application.Quit", "Word.Quit"}));
    EXPECT_EQ(s.tessera->application(), nullptr);
    EXPECT_FALSE(s.tessera->CloseTessera());
}

TEST(clsBATessera, CloseTesseraWithoutAnApplicationReturnsFalse) {
    Session s;
    EXPECT_FALSE(s.tessera->CloseTessera());
    EXPECT_TRUE(s.objects->log->empty());
}

TEST(clsBATessera, WordIsStartedOnlyWhenAskedAndQuitOnlyWhenThisSessionStartedIt) {
    struct Case {
        const char* scenario;
        bool load, running, creatable;
        int foundFromLookUp, lookUps, creates, sleeps, quits;
    };
    const Case cases[] = {
        {"not asked for", false, false, true, 0, 0, 0, 0, 0},
        {"already running", true, true, true, 0, 1, 0, 0, 0},
        {"created", true, false, true, 0, 1, 1, 0, 1},
        {"found by the wait", true, false, false, 3, 3, 1, 1, 1},
        {"never appears", true, false, false, 0, 27, 1, 25, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        Session s;
        s.tessera->put_LoadWordObject(c.load);
        if (c.running) s.objects->runningWord = std::make_shared<test::FakeWord>(s.objects->log);
        s.objects->wordCreatable = c.creatable;
        s.objects->wordFoundFromLookUp = c.foundFromLookUp;
        s.tessera->StartTessera();
        EXPECT_EQ(s.objects->wordLookUps, c.lookUps);
        EXPECT_EQ(s.objects->Calls("Objects.CreateWord"), c.creates);
        EXPECT_EQ(s.platform->sleeps, c.sleeps);
        EXPECT_EQ(s.platform->sleptMilliseconds, 1000u * c.sleeps);
        s.tessera->CloseTessera();
        EXPECT_EQ(s.objects->Calls("Word.Quit"), c.quits);
    }
}

TEST(clsBATessera, RelaysTheCancelEventWithTheUnchangedCount) {
    test::FakeTesseraScript script;
    script.cancelWithProcessedFiles = 17;
    Session s(script);
    std::vector<int32_t> received;
    auto subscription =
        s.tessera->OnBatchCancelledByUser.Subscribe([&](int32_t n) { received.push_back(n); });
    s.tessera->StartTessera();
    s.tessera->RunJob(L"job.txt");
    s.app().OnBatchCancelledByUser.Raise(0);
    EXPECT_EQ(received, (std::vector<int32_t>{17, 0}));
}

TEST(clsBATessera, TheCancelEventStopsWhenTheSessionLetsGoOfTessera) {
    for (bool destroySession : {false, true}) {
        Session s;
        int received = 0;
        auto subscription =
            s.tessera->OnBatchCancelledByUser.Subscribe([&](int32_t) { ++received; });
        s.tessera->StartTessera();
        if (destroySession)
            s.tessera.reset();
        else
            s.tessera->CloseTessera();
        s.app().OnBatchCancelledByUser.Raise(3);
        EXPECT_EQ(received, 0);
        EXPECT_EQ(s.app().OnBatchCancelledByUser.SubscriberCount(), 0u);
    }
}

TEST(clsBATessera, ASubscriberMayCloseTesseraWhileTheJobRuns) {
    test::FakeTesseraScript script;
    script.cancelWithProcessedFiles = 1;
    Session s(script);
    s.tessera->StartTessera();
    s.objects->applications.clear();  // the session holds the only reference
    auto subscription =
        s.tessera->OnBatchCancelledByUser.Subscribe([&](int32_t) { s.tessera->CloseTessera(); });
    EXPECT_TRUE(s.tessera->RunJob(L"job.txt"));
    EXPECT_EQ(s.tessera->application(), nullptr);
    EXPECT_EQ(s.objects->Calls("Application.Quit"), 1);
}

}  // namespace
}  // namespace orv
