#include "platform/TextCase.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(FoldCaseTest, FoldsEveryCharacterToItsSimpleCaseFolding) {
    struct Case {
        std::wstring text, folded;
    };
    const Case cases[] = {
        {L"Run.LOG", L"run.log"},
        {L"STRAẞE Straße", L"straße straße"},      // simple folding keeps the length: ß stays
        {L"ΣΊΣΥΦΟΣ σίσυφος", L"σίσυφοσ σίσυφοσ"},  // final sigma folds like sigma
        {L"\U00010400\U00010427", L"\U00010428\U0001044F"},  // Deseret, beyond the BMP
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldCase(c.text), c.folded) << testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace orv
