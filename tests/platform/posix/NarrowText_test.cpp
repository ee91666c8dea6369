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

TEST_F(NarrowTextTest, InvalidBytesAreEscapedAndGoBackAsTheyCame) {
    const auto escaped = [](unsigned char byte) {
        return static_cast<wchar_t>(kFirstEscapedByte + (byte - 0x80));
    };
    struct Case {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"caf\xE9.txt", std::wstring(L"caf") + escaped(0xE9) + L".txt"},    // a Latin-1 name
        {"x\xE2\x82", std::wstring(L"x") + escaped(0xE2) + escaped(0x82)},  // cut short
        {"\xC0\xAF", {escaped(0xC0), escaped(0xAF)}},                       // overlong "/"
        {"\xED\xA0\x80", {escaped(0xED), escaped(0xA0), escaped(0x80)}},    // an encoded surrogate
        {"\xFF\xC3\xA9", std::wstring{escaped(0xFF)} + L"\u00E9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(FromNarrow(c.bytes), c.text);
        EXPECT_EQ(ToNarrow(c.text), c.bytes);
        EXPECT_EQ(ToNarrowExactly(c.text), c.bytes);  // so the path names its file
    }
    // Beyond U+10FFFF iconv leaves no bytes to give back.
    EXPECT_EQ(FromNarrow("a\xF4\x90\x80\x80"), L"a\uFFFD");
    // Escaped bytes that would read back as a character name some other file.
    EXPECT_FALSE(ToNarrowExactly({escaped(0xC3), escaped(0xA9)}).has_value());
}

}  // namespace
}  // namespace orv
