// Documents the engine refuses by their kind or their container: each is a failure of its own
// document, with the reason in words, and the rest of a batch goes on.

#include <gtest/gtest.h>

#include "OfficeCounts.h"
#include "engine/text/Utf8.h"
#include "support/office/ZipWriter.h"

namespace orv::engine::test {
namespace {

using orv::test::ZipBytes;

const std::string kOleHeader =
    std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(1024, '\0');

struct Refusal {
    const char* fileName;
    std::string bytes;
    const char* reason;
};

TEST(OfficeRefusals, EachDocumentFailsWithItsReason) {
    const Refusal refusals[] = {
        {"letter.doc", kOleHeader, "binary Office format: save it as .docx/.xlsx/.pptx"},
        {"prices.xls", kOleHeader, "binary Office format: save it as .docx/.xlsx/.pptx"},
        {"slides.ppt", kOleHeader, "binary Office format: save it as .docx/.xlsx/.pptx"},
        {"letter.rtf", "{\\rtf1 Hello}", "RTF is not read yet"},
        {"letter.docx", "Hello, this is text.", "The file is not a zip container"},
        {"sheet.xlsx", ZipBytes({{"readme.txt", "no package"}}),
         "The package has no main document part: it is damaged, or not an Office Open XML file"},
        {"locked.docx", kOleHeader,
         "The file is not a zip container but an OLE compound file: it is encrypted, or in a "
         "binary Office format under another extension"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.fileName);
        const DocumentReport report = AnalyseDocument(refusal.fileName, refusal.bytes);
        ASSERT_TRUE(report.failure.has_value());
        EXPECT_EQ(ToUtf8(*report.failure), refusal.reason);
        EXPECT_EQ(report.segments, 0);
    }
}

}  // namespace
}  // namespace orv::engine::test
