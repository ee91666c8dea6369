#include "tessera/modToolsTessera.h"

#include <gtest/gtest.h>

#include <string>

#include "TesseraSession.h"

namespace orv {
namespace {

using test::Session;

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

TEST(modToolsTessera, TheWaitsLookUpPauseAndPumpMessagesUntilFoundOrOutOfRetries) {
    struct Case {
        const char* scenario;
        bool word;
        int foundFrom;  // 0: never
        int failing;    // look-ups that fail with an error
        std::string trace;
    };
    const Case cases[] = {
        {"Tessera at once", false, 1, 0, "MTM"},
        {"Tessera on the third look-up", false, 3, 0, "MTMSTMSTM"},
        {"failed look-ups count as not running", false, 1, 2, "MTMSTMSTM"},
        {"Tessera never", false, 0, 0, "MTM" + Repeat("STM", 25)},
        {"Word on the second look-up", true, 2, 0, "MWMSWM"},
        {"Word never", true, 0, 0, "MWM" + Repeat("SWM", 25)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        Session s;
        s.objects->CreateTessera();  // the instance a look-up may find
        s.objects->tesseraFoundFromLookUp = c.foundFrom;
        s.objects->wordFoundFromLookUp = c.foundFrom == 0 ? 1000 : c.foundFrom;
        s.objects->failingLookUps = c.failing;
        const bool found = c.word ? modTools::GetWordApplication(*s.objects, *s.platform) != nullptr
                                  : modTools::GetTesseraApplication(*s.objects, *s.platform) ==
                                        s.objects->application();
        EXPECT_EQ(found, c.foundFrom != 0);
        EXPECT_EQ(s.platform->trace, c.trace);
        EXPECT_EQ(s.platform->sleptMilliseconds, 1000u * static_cast<unsigned>(s.platform->sleeps));
    }
}

TEST(modToolsTessera, ActivateTesseraWindowHandsOnTheWindowFoundOrTheNullHandle) {
    for (intptr_t window : {intptr_t{0}, intptr_t{0x5150}}) {
        test::FakePlatform platform;
        platform.window = window;
        modTools::ActivateTesseraWindow(platform);
        EXPECT_EQ(platform.windowClassAsked, L"Tessapp2Class");
        EXPECT_EQ(platform.foregroundWindows, std::vector<intptr_t>{window});
    }
}

}  // namespace
}  // namespace orv
