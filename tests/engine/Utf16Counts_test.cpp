// The counts a system whose wchar_t holds UTF-16 gives: the char16_t instantiation runs the
// templates' 16-bit path, the one a 16-bit wchar_t takes, beside the wchar_t one of this
// system. Both must see the same words, characters and placeables in the same text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TextTesting.h"
#include "engine/text/Counter.h"
#include "engine/text/Placeholders.h"
#include "engine/text/Tokenizer.h"

namespace orv::engine {

void PrintTo(const Counts& counts, std::ostream* out) {
    *out << "{" << counts.words << ", " << counts.characters << ", " << counts.placeables << "}";
}

namespace {

using test::AsUtf16;
using test::Tagged;

std::wstring Wide(std::u16string_view text) {
    return ConvertUnits<wchar_t>(text);
}

void ExpectSameTokens(const Segment& wide, const BasicSegment<char16_t>& utf16,
                      const std::string& what) {
    const TokenizedSegment expected = Tokenize(wide);
    const BasicTokenizedSegment<char16_t> got = Tokenize(utf16);
    EXPECT_EQ(Wide(got.normalised), expected.normalised) << what;
    ASSERT_EQ(got.tokens.size(), expected.tokens.size()) << what;
    for (std::size_t i = 0; i < got.tokens.size(); ++i) {
        EXPECT_EQ(got.tokens[i].kind, expected.tokens[i].kind) << what << ", token " << i;
        EXPECT_EQ(Wide(got.tokens[i].text), expected.tokens[i].text) << what << ", token " << i;
        EXPECT_EQ(Wide(got.tokens[i].folded), expected.tokens[i].folded) << what << ", token " << i;
    }
    EXPECT_EQ(FormattingCodeKinds(utf16), FormattingCodeKinds(wide)) << what;
}

TEST(Utf16CountsTest, UnitsOfEitherWidthGiveTheSameWordsCharactersAndPlaceables) {
    // The longest braced placeholder has 63 characters inside, here all beyond the BMP.
    std::wstring braced63 = L"{";
    for (int i = 0; i < 63; ++i) braced63 += L"\U0001D400";
    const std::wstring braced64 = braced63 + L"\U0001D400}";
    braced63 += L"}";
    struct Case {
        std::wstring text;
        Counts counts;  // words, characters, placeables
    };
    const Case cases[] = {
        {L"Don't panic, the file is saved.", {6, 23, 0}},
        {L"Die Größe der Straße beträgt 3,5 km.", {7, 28, 1}},
        {L"我们去学校。今天天气很好。", {6, 11, 0}},
        {L"\U00020000\U00020001是罕见字。", {5, 6, 0}},
        {L"ภาษาไทยไม่มีช่องว่างระหว่างคำ", {7, 29, 0}},
        {L"Great job 😀👍🏽 see you!", {4, 17, 0}},
        {L"👨‍👩‍👧 family", {1, 9, 0}},
        {L"𝐀𝐁𝐂 123 𝟏𝟐", {3, 8, 2}},
        {L"Cannot open %s: %1$d of {0} ⟨%s⟩", {7, 18, 4}},
        {L"%(名前)s and %(\U00020000)s and {\U00020000\U00020001} but not {😀}", {7, 20, 3}},
        {braced63, {1, 63, 1}},  // a placeholder: its limit is in characters, not units
        {braced64, {1, 64, 0}},
        {L"It costs $1,000.50 or 3.5% (50%off)", {7, 23, 3}},
        {L"See https://example.com/😀?q=\U00020000 or www.例子.中国/𠀀, ok", {5, 34, 2}},
        {L"Write to 名前@example.com or \U0001D400@example.org", {5, 32, 2}},
        // A Han character and a Latin letter are two words, even with a paired code between.
        {L"<b>\U00020000</b>s and foo<br/>bar 😀<i>😀</i>", {5, 13, 5}},
        {L"  \u3000 \t", {0, 0, 0}},
        {L"", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const Segment wide = Tagged(c.text);
        const BasicSegment<char16_t> utf16 = AsUtf16(wide);
        const std::string what = testing::PrintToString(c.text);
        EXPECT_EQ(CountSegment(wide), c.counts) << what;
        EXPECT_EQ(CountSegment(utf16), c.counts) << what;
        ExpectSameTokens(wide, utf16, what);
    }
}

// Units that hold no character reach the counter as U+FFFD on either system.
TEST(Utf16CountsTest, LoneSurrogatesCountAsOneReplacementCharacterEach) {
    struct Case {
        std::u16string utf16;
        std::wstring wide;  // the same units, or U+FFFD where 32-bit units cannot hold them
    };
    const Case cases[] = {
        {u"a\xD800 b", L"a\uFFFD b"},
        {u"\xDC00"
         "end",
         L"\uFFFD"
         "end"},
        {u"x\xDE00\xD83D", L"x\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        const BasicSegment<char16_t> utf16{c.utf16, {}};
        const Segment wide{c.wide, {}};
        const std::string what = testing::PrintToString(c.wide);
        EXPECT_EQ(CountSegment(utf16), CountSegment(wide)) << what;
        EXPECT_EQ(Wide(NormalisedText(utf16)), NormalisedText(wide)) << what;
        EXPECT_EQ(NormalisedText(wide).find(L'\xD800'), std::wstring::npos) << what;
    }
}

TEST(Utf16CountsTest, PlaceholdersAreTheSameCharactersInUnitsOfEitherWidth) {
    std::u32string longest = U"{";
    for (int i = 0; i < 63; ++i) longest += U'\U0001D400';
    const std::u32string tooLong = longest + U"\U0001D400}";
    longest += U"}";
    const std::u32string cases[] = {
        U"%s %1$d %(名前)s {0} {name} {0:N2}",
        U"%(\U00020000\U0001D400)s and %(😀)s",
        U"{\U00020000} {😀} {0:\U0001F600}",
        longest,
        tooLong,
        U"50%off %1%2 100\U0001F600%d",
    };
    for (const std::u32string& text : cases) {
        const std::u16string utf16 = ConvertUnits<char16_t>(std::u32string_view(text));
        // Spans in code points, whatever units they were found in.
        const auto inCodePoints = [](auto units, const std::vector<PlaceholderSpan>& spans) {
            std::vector<std::u32string> found;
            for (const PlaceholderSpan& span : spans)
                found.push_back(ConvertUnits<char32_t>(units.substr(span.begin, span.length)));
            return found;
        };
        const std::wstring wide = ConvertUnits<wchar_t>(std::u32string_view(text));
        const auto fromWide = inCodePoints(std::wstring_view(wide), FindPlaceholders(wide));
        const auto fromUtf16 =
            inCodePoints(std::u16string_view(utf16), FindPlaceholders(std::u16string_view(utf16)));
        EXPECT_EQ(fromUtf16, fromWide) << testing::PrintToString(wide);
    }
    EXPECT_TRUE(IsPlaceholder<char16_t>(ConvertUnits<char16_t>(std::u32string_view(longest))));
    EXPECT_FALSE(IsPlaceholder<char16_t>(ConvertUnits<char16_t>(std::u32string_view(tooLong))));
}

}  // namespace
}  // namespace orv::engine
