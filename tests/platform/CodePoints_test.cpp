#include "platform/CodePoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace orv {
namespace {

static_assert(std::forward_iterator<CodePoints<char16_t>::Iterator>);
static_assert(kHoldsUtf16<char16_t> && !kHoldsUtf16<char32_t>);
static_assert(kHoldsUtf16<wchar_t> == (sizeof(wchar_t) == 2));

template <CodeUnit Unit>
std::basic_string<Unit> Units(const std::vector<uint32_t>& values) {
    std::basic_string<Unit> text;
    for (uint32_t value : values) text += static_cast<Unit>(value);
    return text;
}

struct Decoded {
    uint32_t value;
    std::size_t length;
    bool wellFormed;
};

std::vector<Decoded> DecodeAll(const auto& text) {
    std::vector<Decoded> decoded;
    for (const DecodedCodePoint& c : CodePoints(text))
        decoded.push_back({c.value, c.length, c.wellFormed});
    return decoded;
}

void ExpectDecoded(const std::vector<Decoded>& got, const std::vector<Decoded>& expected,
                   const std::string& what) {
    ASSERT_EQ(got.size(), expected.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].value, expected[i].value) << what << " at " << i;
        EXPECT_EQ(got[i].length, expected[i].length) << what << " at " << i;
        EXPECT_EQ(got[i].wellFormed, expected[i].wellFormed) << what << " at " << i;
    }
}

constexpr uint32_t kBad = 0xFFFD;

TEST(CodePointsTest, DecodesUtf16UnitsPairingSurrogatesAndReplacingLoneOnes) {
    struct Case {
        const char* name;
        std::vector<uint32_t> units;
        std::vector<Decoded> decoded;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"ASCII", {'A', 'z'}, {{'A', 1, true}, {'z', 1, true}}},
        {"BMP", {0xE9, 0x20AC, 0xFFFC}, {{0xE9, 1, true}, {0x20AC, 1, true}, {0xFFFC, 1, true}}},
        {"emoji", {0xD83D, 0xDE00, '!'}, {{0x1F600, 2, true}, {'!', 1, true}}},
        {"ideograph", {0xD840, 0xDC00}, {{0x20000, 2, true}}},
        {"last plane", {0xDBFF, 0xDFFF}, {{0x10FFFF, 2, true}}},
        {"high at the end", {'a', 0xD83D}, {{'a', 1, true}, {kBad, 1, false}}},
        {"high before a letter", {0xD83D, 'a'}, {{kBad, 1, false}, {'a', 1, true}}},
        {"two highs", {0xD83D, 0xD83D, 0xDE00}, {{kBad, 1, false}, {0x1F600, 2, true}}},
        {"lone low", {0xDE00, 'a'}, {{kBad, 1, false}, {'a', 1, true}}},
        {"pair reversed", {0xDE00, 0xD83D}, {{kBad, 1, false}, {kBad, 1, false}}},
    };
    for (const Case& c : cases) {
        ExpectDecoded(DecodeAll(Units<char16_t>(c.units)), c.decoded, c.name);
        if constexpr (kHoldsUtf16<wchar_t>)
            ExpectDecoded(DecodeAll(Units<wchar_t>(c.units)), c.decoded, c.name);
    }
}

TEST(CodePointsTest, DecodesUtf32UnitsReplacingSurrogatesAndValuesPastUnicode) {
    struct Case {
        const char* name;
        std::vector<uint32_t> units;
        std::vector<Decoded> decoded;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"ASCII and BMP", {'A', 0x20AC}, {{'A', 1, true}, {0x20AC, 1, true}}},
        {"supplementary", {0x1F600, 0x20000}, {{0x1F600, 1, true}, {0x20000, 1, true}}},
        {"surrogates", {0xD83D, 0xDE00}, {{kBad, 1, false}, {kBad, 1, false}}},
        {"past Unicode", {0x110000, 0xFFFFFFFF}, {{kBad, 1, false}, {kBad, 1, false}}},
    };
    for (const Case& c : cases) {
        ExpectDecoded(DecodeAll(Units<char32_t>(c.units)), c.decoded, c.name);
        if constexpr (!kHoldsUtf16<wchar_t>)
            ExpectDecoded(DecodeAll(Units<wchar_t>(c.units)), c.decoded, c.name);
    }
}

TEST(CodePointsTest, EncodesEachCodePointInTheUnitsOfEveryType) {
    struct Case {
        uint32_t codePoint;
        std::vector<uint32_t> utf16;
        std::string utf8;
    };
    const Case cases[] = {
        {0x00, {0x00}, std::string(1, '\0')},
        {0x7F, {0x7F}, "\x7F"},
        {0x80, {0x80}, "\xC2\x80"},
        {0x7FF, {0x7FF}, "\xDF\xBF"},
        {0x800, {0x800}, "\xE0\xA0\x80"},
        {0xFFFF, {0xFFFF}, "\xEF\xBF\xBF"},
        {0x10000, {0xD800, 0xDC00}, "\xF0\x90\x80\x80"},
        {0x1F600, {0xD83D, 0xDE00}, "\xF0\x9F\x98\x80"},
        {0x20000, {0xD840, 0xDC00}, "\xF0\xA0\x80\x80"},
        {0x10FFFF, {0xDBFF, 0xDFFF}, "\xF4\x8F\xBF\xBF"},
        // No character: written as U+FFFD, never as the bare value.
        {0xD800, {kBad}, "\xEF\xBF\xBD"},
        {0xDFFF, {kBad}, "\xEF\xBF\xBD"},
        {0x110000, {kBad}, "\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        std::u16string utf16;
        std::u32string utf32;
        std::string utf8;
        AppendCodePoint(utf16, c.codePoint);
        AppendCodePoint(utf32, c.codePoint);
        AppendCodePointAsUtf8(utf8, c.codePoint);
        EXPECT_EQ(utf16, Units<char16_t>(c.utf16)) << std::hex << c.codePoint;
        EXPECT_EQ(utf32, ConvertUnits<char32_t>(std::u16string_view(utf16)));
        EXPECT_EQ(utf8, c.utf8) << std::hex << c.codePoint;
        // Each form reads back as every other form.
        std::u16string fromUtf8;
        AppendUtf8AsUnits(fromUtf8, utf8);
        EXPECT_EQ(fromUtf8, utf16) << std::hex << c.codePoint;
        std::string backToUtf8;
        AppendUnitsAsUtf8(backToUtf8, std::u32string_view(utf32));
        EXPECT_EQ(backToUtf8, utf8) << std::hex << c.codePoint;
    }
}

TEST(CodePointsTest, DecodesUtf8ReplacingEachBadByteAndReadingOnAfterIt) {
    struct Case {
        const char* name;
        std::string utf8;
        std::vector<uint32_t> codePoints;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"mixed", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", {'a', 0xE9, 0x20AC, 0x1F600}},
        {"stray continuation",
         "\x80"
         "a",
         {kBad, 'a'}},
        {"cut at the end", "a\xF0\x9F\x98", {'a', kBad, kBad, kBad}},
        {"cut before ASCII",
         "\xE2\x82"
         "b",
         {kBad, kBad, 'b'}},
        {"overlong", "\xC0\xAF", {kBad, kBad}},
        {"encoded surrogate", "\xED\xA0\x80", {kBad, kBad, kBad}},
        {"past Unicode", "\xF4\x90\x80\x80", {kBad, kBad, kBad, kBad}},
        {"no lead byte", "\xFF\xFE", {kBad, kBad}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> decoded;
        for (std::size_t at = 0; at < c.utf8.size();) {
            const DecodedCodePoint d = DecodeUtf8(c.utf8, at);
            decoded.push_back(d.value);
            at += d.length;
        }
        EXPECT_EQ(decoded, c.codePoints) << c.name;
        // Into 16-bit and 32-bit units alike: the same characters.
        std::u16string utf16;
        std::u32string utf32;
        AppendUtf8AsUnits(utf16, c.utf8);
        AppendUtf8AsUnits(utf32, c.utf8);
        EXPECT_EQ(ConvertUnits<char32_t>(std::u16string_view(utf16)), utf32) << c.name;
        EXPECT_EQ(utf32.size(), c.codePoints.size()) << c.name;
    }
}

TEST(CodePointsTest, AWideStringHoldsTheSameCharactersAsItsUtf16AndUtf32Forms) {
    const std::u32string characters = U"Aé€\U0001F600\U00020000\uFFFC";
    const std::wstring wide = ConvertUnits<wchar_t>(std::u32string_view(characters));
    EXPECT_EQ(wide.size(), kHoldsUtf16<wchar_t> ? 8u : 6u);
    EXPECT_EQ(ConvertUnits<char32_t>(std::wstring_view(wide)), characters);
    EXPECT_EQ(ConvertUnits<wchar_t>(std::u16string_view(u"Aé€\U0001F600\U00020000\uFFFC")), wide);
    std::string utf8;
    AppendUnitsAsUtf8(utf8, std::wstring_view(wide));
    EXPECT_EQ(utf8, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF0\xA0\x80\x80\xEF\xBF\xBC");
    // Positions are those of the units each character starts at.
    std::vector<std::size_t> starts;
    const CodePoints points(std::u16string_view(u"a\U0001F600b"));
    for (auto at = points.begin(); at != points.end(); ++at) starts.push_back(at.position());
    EXPECT_EQ(starts, (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_EQ(std::ranges::distance(points), 3);
}

}  // namespace
}  // namespace orv
