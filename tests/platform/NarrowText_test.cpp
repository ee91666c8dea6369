#include "platform/NarrowText.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The tests run in a C or UTF-8 locale, where the narrow encoding is UTF-8.
class NarrowTextTest : public testing::Test {
protected:
    void SetUp() override {
        if (NarrowEncodingName() != "UTF-8") {
            GTEST_SKIP() << "the environment's locale uses " << NarrowEncodingName();
        }
    }
};

TEST_F(NarrowTextTest, NonAsciiTextSurvivesTheRoundTrip) {
    const std::wstring text = L"Grüße/€ 100/Σίσυφος/\U00010400.log";
    std::string narrow = ToNarrow(text);
    EXPECT_EQ(narrow,
              "Gr\xC3\xBC\xC3\x9F\x65/\xE2\x82\xAC 100/\xCE\xA3\xCE\xAF\xCF\x83\xCF\x85"
              "\xCF\x86\xCE\xBF\xCF\x82/\xF0\x90\x90\x80.log");
    EXPECT_EQ(FromNarrow(narrow), text);
}

TEST_F(NarrowTextTest, EmbeddedNulsAndLongTextsAreKeptWhole) {
    std::wstring text(L"a\0b", 3);
    EXPECT_EQ(FromNarrow(ToNarrow(text)), text);
    std::wstring longText(5000, L'€');
    EXPECT_EQ(ToNarrow(longText).size(), 15000u);
    EXPECT_EQ(FromNarrow(ToNarrow(longText)), longText);
}

TEST_F(NarrowTextTest, InvalidBytesBecomeReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"a\xFF"
         "b",
         L"a\uFFFD"
         L"b"},
        {"\xC3", L"\uFFFD"},                      // cut short at the end
        {"x\xE2\x82", L"x\uFFFD\uFFFD"},          // cut short: one mark per byte
        {"\xC0\xAF", L"\uFFFD\uFFFD"},            // overlong "/"
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
        {"a\xF4\x90\x80\x80", L"a\uFFFD"},        // beyond U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromNarrow(c.bytes), c.text) << testing::PrintToString(c.bytes);
    }
}

TEST_F(NarrowTextTest, CharactersWithoutAnEncodingBecomeQuestionMarks) {
    std::wstring text = L"a";
    text += static_cast<wchar_t>(0xD800);
    text += L'b';
    if constexpr (sizeof(wchar_t) >= 4) text += static_cast<wchar_t>(0x110000);
    EXPECT_EQ(ToNarrow(text), sizeof(wchar_t) >= 4 ? "a?b?" : "a?b");
    EXPECT_FALSE(ToNarrowExactly(text).has_value());
    EXPECT_EQ(ToNarrowExactly(L"ü"), std::optional<std::string>("\xC3\xBC"));
}

}  // namespace
}  // namespace orv
