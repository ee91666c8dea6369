// A long load asks its stop check as it goes and ends with LoadCancelled once the check says
// so: the TM read from its file after every unit, the match index after every unit tokenised
// and between its later steps.

#include <gtest/gtest.h>

#include <string>

#include "engine/match/TmIndex.h"
#include "engine/model/LoadCancelled.h"
#include "engine/tm/TmxReader.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

constexpr int kUnits = 6;

std::string TmxOfUnits(int units) {
    std::string tmx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n"
        "<header srclang=\"en-US\"/>\n<body>\n";
    for (int u = 0; u < units; ++u) {
        tmx += "<tu><tuv xml:lang=\"en-US\"><seg>Sentence number " + std::to_string(u) +
               " here.</seg></tuv><tuv xml:lang=\"de-DE\"><seg>Satz.</seg></tuv></tu>\n";
    }
    return tmx + "</body>\n</tmx>\n";
}

// A check that says stop at its `stopAt`-th call (0: never) and counts the calls.
StopCheck StopAt(int stopAt, int& calls) {
    return [stopAt, &calls] { return ++calls == stopAt; };
}

TEST(LoadCancel, EachLoadAsksItsCheckAsItGoesAndStopsWhenItSaysSo) {
    test::TempFolder folder;
    const std::wstring path = folder.Write("tm.tmx", TmxOfUnits(kUnits)).wstring();
    const TranslationMemory tm = ReadTmxFile(path);
    ASSERT_EQ(tm.units.size(), static_cast<std::size_t>(kUnits));

    // After every unit tokenised, and after each of the three later steps.
    const int indexChecks = kUnits + 3;
    const struct {
        const char* load;
        int checks;  // calls when it is never stopped
        void (*run)(const std::wstring& path, const TranslationMemory& tm, const StopCheck& stop);
    } loads[] = {
        {"the TMX file", kUnits,
         [](const std::wstring& file, const TranslationMemory&, const StopCheck& stop) {
             EXPECT_EQ(ReadTmxFile(file, stop).units.size(), static_cast<std::size_t>(kUnits));
         }},
        {"the index", indexChecks,
         [](const std::wstring&, const TranslationMemory& memory, const StopCheck& stop) {
             EXPECT_EQ(TmIndex(memory, L"de-DE", 1, stop).matchableUnits(),
                       static_cast<std::size_t>(kUnits));
         }},
    };
    for (const auto& load : loads) {
        SCOPED_TRACE(load.load);
        int calls = 0;
        load.run(path, tm, StopAt(0, calls));
        EXPECT_EQ(calls, load.checks) << "asked as it goes";
        for (int stopAt : {1, load.checks / 2, load.checks}) {
            SCOPED_TRACE(stopAt);
            calls = 0;
            EXPECT_THROW(load.run(path, tm, StopAt(stopAt, calls)), LoadCancelled);
            EXPECT_EQ(calls, stopAt) << "not asked again once it said stop";
        }
    }
}

}  // namespace
}  // namespace orv::engine
