#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <utility>

#include "engine/app/EngineControl.h"
#include "engine/model/EngineError.h"
#include "engine/text/PlainTextDocument.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using namespace std::string_literals;

TEST(TextDocumentTest, ReadsTheEncodingThatTheBytesShow) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"UTF-8 with BOM", "\xEF\xBB\xBF"s + "Caf\xC3\xA9\r\nLine", L"Café\r\nLine"},
        {"UTF-8 without BOM", "Caf\xC3\xA9 \xF0\x9F\x98\x80", L"Café \U0001F600"},
        {"UTF-16 LE", "\xFF\xFE"s + "C\0a\0f\0\xE9\0\x3D\xD8\x00\xDE"s, L"Café\U0001F600"},
        {"UTF-16 BE", "\xFE\xFF"s + "\0C\0a\0f\0\xE9\xD8\x3D\xDE\x00"s, L"Café\U0001F600"},
        {"UTF-16 lone surrogate", "\xFF\xFE\x00\xD8"s + "A\0"s, L"\uFFFDA"},
        {"UTF-16 odd length", "\xFF\xFE"s + "A\0B"s, L"A\uFFFD"},
        {"UTF-8 with BOM, bad byte", "\xEF\xBB\xBF"s + "a\xFF" + "b", L"a\uFFFDb"},
        {"BOM only", "\xEF\xBB\xBF", L""},
        {"empty", "", L""},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        folder.Write("doc.txt", c.bytes);
        EXPECT_EQ(ReadPlainTextDocument(folder.wpath("doc.txt")), c.text) << c.name;
    }
}

// The reason goes into a CSV cell of its own: words, no separator, no number.
void ExpectReadFailure(const std::wstring& path, const std::wstring& reason,
                       const StopCheck& stop = {}) {
    try {
        DecodePlainText(ReadDocumentFileBytes(path, stop));
        ADD_FAILURE() << "no error for " << ToNarrow(path);
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), kEngineFailure);
        EXPECT_EQ(error.description(), reason);
        EXPECT_EQ(error.description().find(L';'), std::wstring::npos);
        for (wchar_t c : error.description()) EXPECT_FALSE(std::iswdigit(c)) << ToNarrow(reason);
    }
}

TEST(TextDocumentTest, AFileThatCannotBeReadFailsWithItsReasonInWords) {
    test::TempFolder folder;
    folder.Write("binary.doc", "PK\x03\x04\0\0\x14\0"s);
    ExpectReadFailure(folder.wpath("missing.txt"), L"The file does not exist");
    ExpectReadFailure(folder.wpath("no/such/folder.txt"), L"The file does not exist");
    ExpectReadFailure(folder.wpath(), L"The path names a folder, not a file");
    ExpectReadFailure(folder.wpath("binary.doc"),
                      L"The file is not a plain-text file (it holds binary data)");
    ExpectReadFailure(L"", L"The file name cannot be used on this system");
    ExpectReadFailure(folder.wpath() + L"/a\0b"s, L"The file name cannot be used on this system");
}

TEST(TextDocumentTest, ACancelRequestStopsTheReadingOfADocument) {
    test::TempFolder folder;
    folder.Write("doc.txt", "Some text.");
    EngineControl control;
    control.RequestCancel();
    ExpectReadFailure(folder.wpath("doc.txt"), L"Reading the file was cancelled",
                      control.CancelCheck());
    // The analysis, not the reader, acts on the request and withdraws it.
    EXPECT_TRUE(control.CancelRequested());
    control.ClearCancelRequest();
    EXPECT_EQ(ReadDocumentFileBytes(folder.wpath("doc.txt"), control.CancelCheck()), "Some text.");
}

}  // namespace
}  // namespace orv::engine
