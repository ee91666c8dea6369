#include "engine/text/Counter.h"

#include <gtest/gtest.h>

#include "TextTesting.h"

namespace orv::engine {
namespace {

TEST(CounterTest, CountsWordsCharactersAndPlaceablesOfASegment) {
    struct Case {
        const wchar_t* text;
        Counts counts;  // words, characters, placeables
    };
    const Case cases[] = {
        {L"Don't panic.", {2, 9, 0}},
        {L"It’s 3.5 or 1,000 (42%)", {5, 13, 3}},
        {L"e-mail", {2, 5, 0}},
        {L"See https://example.com/a today.", {3, 24, 1}},
        {L"Write to info@example.com", {3, 21, 1}},
        {L"Press <b>Save</b><br/> now", {3, 12, 3}},
        {L"... !!! ?", {0, 0, 0}},
        {L"<br/>", {0, 0, 1}},
        {L"我们去学校。", {3, 5, 0}},
        {L"これはペンです。", {4, 7, 0}},
        {L"$5 + €3", {2, 5, 2}},
        {L"Cafe\u0301 \u00A0 \t", {1, 4, 0}},
        {L"", {0, 0, 0}},
        // A placeholder is a word and a placeable, as a code and as text alike.
        {L"Cannot open file %s for writing", {6, 25, 1}},
        {L"Cannot open file ⟨%s⟩ for writing", {6, 25, 1}},
        {L"⟨{0}⟩ of {1}: ⟨%1$s⟩", {4, 7, 3}},
        // A paired code leaves a word whole; a standalone code splits it.
        {L"<code>Buffer</code>s", {1, 7, 2}},
        {L"foo<b>bar</b>baz", {1, 9, 2}},
        {L"foo<br/>bar", {2, 6, 1}},
    };
    for (const Case& c : cases) {
        Counts counts = CountSegment(test::Tagged(c.text));
        EXPECT_EQ(counts.words, c.counts.words) << c.text;
        EXPECT_EQ(counts.characters, c.counts.characters) << c.text;
        EXPECT_EQ(counts.placeables, c.counts.placeables) << c.text;
    }
}

TEST(CounterTest, CountsAddUp) {
    Counts total;
    total += CountSegment(Segment{L"One two.", {}});
    total += CountSegment(Segment{L"Three 4", {}});
    EXPECT_EQ(total, (Counts{4, 12, 1}));
}

}  // namespace
}  // namespace orv::engine
