#include "platform/TextCase.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The same on every system: POSIX folds with ICU, Windows by its own lower-casing and tables.
TEST(FoldCaseTest, FoldsEveryCharacterToItsSimpleCaseFoldingKeepingTheLength) {
    struct Case {
        std::wstring text, folded;
    };
    const Case cases[] = {
        {L"Run.LOG", L"run.log"},
        {L"C:\\DOCS\\ÄÖÜ.rtf", L"c:\\docs\\äöü.rtf"},
        {L"STRAẞE Straße", L"straße straße"},      // simple folding keeps the length: ß stays
        {L"ΣΊΣΥΦΟΣ σίσυφος", L"σίσυφοσ σίσυφοσ"},  // final sigma folds like sigma
        // Folding is not lower-casing here: micro sign, long s, dotted and dotless I.
        {L"\u00B5 \u017F \u0130 \u0131", L"\u03BC s \u0130 \u0131"},
        {L"\u13A0\uAB70\u13F8", L"\u13A0\u13A0\u13F0"},        // Cherokee folds to its capitals
        {L"\U00010400\U00010427", L"\U00010428\U0001044F"},    // Deseret, beyond the BMP
        {L"\U0001E900x\U0001E943", L"\U0001E922x\U0001E943"},  // Adlam
        {std::wstring(L"a\0B", 3), std::wstring(L"a\0b", 3)},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldCase(c.text), c.folded) << testing::PrintToString(c.text);
    }
    const std::wstring lone = std::wstring(L"A") + static_cast<wchar_t>(0xDC00) + L"B";
    EXPECT_EQ(FoldCase(lone).size(), lone.size());
}

TEST(FoldCaseTest, EqualityIgnoringCaseNeedsTheSameLength) {
    EXPECT_TRUE(EqualsIgnoringCase(L"ÄÖÜ\U00010400", L"äöü\U00010428"));
    EXPECT_FALSE(EqualsIgnoringCase(L"STRASSE", L"straße"));
    EXPECT_FALSE(EqualsIgnoringCase(L"a", L"b"));
}

}  // namespace
}  // namespace orv
