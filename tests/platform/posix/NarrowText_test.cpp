#include "platform/NarrowText.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The tests run in a C or UTF-8 locale, where the narrow encoding is UTF-8.
class NarrowTextTest : public testing::Test {
protected:
    void SetUp() override {
        if (NarrowEncodingName() != "UTF-8") GTEST_SKIP() << "the locale uses another encoding";
    }
};

TEST_F(NarrowTextTest, EncodableTextSurvivesTheRoundTripAndTheRestBecomesQuestionMarks) {
    const std::wstring text = L"Grüß/€ Σ/\U00010400.log";
    const std::string narrow = ToNarrow(text);
    EXPECT_EQ(narrow, "Gr\xC3\xBC\xC3\x9F/\xE2\x82\xAC \xCE\xA3/\xF0\x90\x90\x80.log");
    EXPECT_EQ(FromNarrow(narrow), text);
    EXPECT_EQ(ToNarrowExactly(text), narrow);

    const std::wstring lone = std::wstring(L"a") + static_cast<wchar_t>(0xD800) + L"b";
    EXPECT_EQ(ToNarrow(lone), "a?b");
    EXPECT_FALSE(ToNarrowExactly(lone).has_value());  // so it names no exact path
}

TEST_F(NarrowTextTest, InvalidBytesBecomeReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"a\xFF!", L"a\uFFFD!"},
        {"x\xE2\x82", L"x\uFFFD\uFFFD"},          // cut short at the end: one mark per byte
        {"\xC0\xAF", L"\uFFFD\uFFFD"},            // overlong "/"
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
        {"a\xF4\x90\x80\x80", L"a\uFFFD"},        // beyond U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromNarrow(c.bytes), c.text) << testing::PrintToString(c.bytes);
    }
}

}  // namespace
}  // namespace orv
