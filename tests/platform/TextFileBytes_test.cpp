#include <gtest/gtest.h>

#include <string>

#include "platform/NarrowText.h"

namespace orv {
namespace {

// The byte order mark decides, on every system; without it the narrow encoding does.
TEST(TextFileBytesTest, UtfEightWithItsMarkIsReadAsUtfEightEverywhere) {
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F\r\nx=1", L"Gr\u00FC\u00DF\r\nx=1"},
        {"\xEF\xBB\xBF", L""},
        {"\xEF\xBB\xBF\xFFz", L"\uFFFDz"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF", L"\uFEFF"},  // only the first mark is no text
        {"\xE2\x82\xAC 12", FromNarrow("\xE2\x82\xAC 12")},
        {"a\xEF\xBB\xBF", FromNarrow("a\xEF\xBB\xBF")},
        {"\xEF\xBB", FromNarrow("\xEF\xBB")},
        {"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FromTextFileBytes(c.bytes), c.text) << testing::PrintToString(c.bytes);
}

}  // namespace
}  // namespace orv
