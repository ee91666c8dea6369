#include "engine/office/FormattedRuns.h"

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "engine/text/Utf8.h"

namespace orv::engine {
namespace {

struct TextRun {
    const char* text;  // nullptr: a standalone code "<tab/>"
    const char* formatting;
};

TEST(FormattedRunsTest, AChangeOfFormattingInsideTheParagraphIsAPairOfCodes) {
    const struct {
        const char* what;
        std::vector<TextRun> runs;
        const wchar_t* text;
        const char* codes;
    } cases[] = {
        {"plain", {{"Hello ", ""}, {"world.", ""}}, L"Hello world.", ""},
        {"all bold", {{"Hello ", "b"}, {"world.", "b"}}, L"Hello world.", ""},
        {"one word bold",
         {{"Say ", ""}, {"hello", "b"}, {" now.", ""}},
         L"Say <b>hello</b> now.",
         "B1 E1"},
        {"most bold, one plain",
         {{"Bold text here ", "b"}, {"x", ""}, {" too", "b"}},
         L"Bold text here <>x</> too",
         "B1 E1"},
        {"two formattings in a row",
         {{"a ", ""}, {"bold", "b"}, {"italic", "i"}, {" rest of it", ""}},
         L"a <b>bold</b><i>italic</i> rest of it",
         "B1 E1 B2 E2"},
        {"a tab inside a bold stretch",
         {{"Name ", ""}, {"one", "b"}, {nullptr, ""}, {"two", "b"}, {" and more", ""}},
         L"Name <b>one<tab/>two</b> and more",
         "B1 S E1"},
    };
    for (const auto& c : cases) {
        FormattedRuns runs;
        for (const TextRun& run : c.runs) {
            if (run.text)
                runs.AddText(run.text, run.formatting);
            else
                runs.AddCode(L"<tab/>");
        }
        BlockBuilder block;
        int nextPair = 1;
        runs.AppendTo(block, nextPair);
        const Segment segment = block.Take();
        EXPECT_EQ(test::Render(segment), c.text) << c.what;
        EXPECT_EQ(test::Codes(segment), c.codes) << c.what;
    }
}

}  // namespace
}  // namespace orv::engine
