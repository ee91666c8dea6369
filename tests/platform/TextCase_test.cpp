#include "platform/TextCase.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(FoldCaseTest, FoldsEachCharacterToItsSimpleCaseFolding) {
    struct Case {
        std::wstring text;
        std::wstring folded;
    };
    const Case cases[] = {
        {L"Run.LOG", L"run.log"},
        {L"STRAẞE Straße", L"straße straße"},      // simple folding keeps the length: ß stays
        {L"ΣΊΣΥΦΟΣ σίσυφος", L"σίσυφοσ σίσυφοσ"},  // final sigma folds like sigma
        {L"\u212A", L"k"},                         // Kelvin sign
        {L"\u0130", L"\u0130"},                    // dotted capital I has no simple folding
        {L"\U00010400\U00010427", L"\U00010428\U0001044F"},  // Deseret, beyond the BMP
        {L"\xD800x", L"\xD800x"},                            // a lone surrogate is kept
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldCase(c.text), c.folded) << testing::PrintToString(c.text);
}

TEST(FoldCaseTest, TextsThatDifferOnlyInCaseAreEqual) {
    EXPECT_TRUE(EqualsIgnoringCase(L"C:\\Docs\\RÉSUMÉ.doc", L"c:\\docs\\résumé.DOC"));
    EXPECT_TRUE(EqualsIgnoringCase(L"\U00010400", L"\U00010428"));
    EXPECT_FALSE(EqualsIgnoringCase(L"a.doc", L"a.docx"));
    EXPECT_FALSE(EqualsIgnoringCase(L"ı", L"i"));  // dotless i is a letter of its own
}

}  // namespace
}  // namespace orv
