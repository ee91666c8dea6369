#include "platform/NarrowText.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/WindowsApi.h"

namespace orv {
namespace {

TEST(Win32NarrowTextTest, TheEncodingIsTheAnsiCodePage) {
    EXPECT_EQ(NarrowEncodingName(), "Windows-" + std::to_string(GetACP()));
}

TEST(Win32NarrowTextTest, CharactersOutsideTheCodePageBecomeQuestionMarksNeverLookAlikes) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "UTF-8 represents every character";
    // A check mark, a macron A (best fit: "A") and a full-width quote (best fit: '"').
    for (const std::wstring& text : {std::wstring(L"\u2713"), std::wstring(L"\u0100"),
                                     std::wstring(L"\uFF02"), std::wstring(1, wchar_t(0xD800))}) {
        EXPECT_EQ(ToNarrow(L"a" + text + L"b"), "a?b") << testing::PrintToString(text);
        EXPECT_FALSE(ToNarrowExactly(text).has_value());
    }
}

TEST(Win32NarrowTextTest, TheWesternCodePageRoundTrips) {
    if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    const std::wstring text = L"Gr\u00FC\u00DF \u20AC\r\n";
    EXPECT_EQ(ToNarrow(text), "Gr\xFC\xDF \x80\r\n");
    EXPECT_EQ(FromNarrow("Gr\xFC\xDF \x80\r\n"), text);
    EXPECT_EQ(ToNarrowExactly(text), "Gr\xFC\xDF \x80\r\n");
    EXPECT_EQ(FromNarrow(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

}  // namespace
}  // namespace orv
