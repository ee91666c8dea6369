#include "engine/doc/Document.h"

#include <gtest/gtest.h>

#include <cwctype>

#include "DocumentTesting.h"
#include "engine/doc/DocumentSegmenter.h"
#include "engine/model/EngineError.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using test::Blocks;
using test::Lines;

TEST(DocumentTest, TheExtensionChoosesTheReaderWhateverItsCase) {
    struct Case {
        const wchar_t* path;
        DocumentFormat format;
    };
    const Case cases[] = {
        {L"/a/PAGE.HTML", DocumentFormat::Html},
        {L"page.xhtml", DocumentFormat::Html},
        {L"manual.SGM", DocumentFormat::Xml},
        {L"ui.XLIFF", DocumentFormat::Xliff},
        {L"messages.pot", DocumentFormat::Po},
        {L"README", DocumentFormat::PlainText},
        {L"/a.html/README", DocumentFormat::PlainText},
        {L"C:\\a.po\\notes", DocumentFormat::PlainText},
        {L"archive.html.gz", DocumentFormat::PlainText},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatOfDocument(c.path), c.format) << ToNarrow(c.path);
}

TEST(DocumentTest, ReadsEachKindOfFileFromDisk) {
    orv::test::TempFolder folder;
    folder.Write("page.HTM", "<p>Hello <b>world</b></p><p>Again</p>");
    folder.Write("doc.xml", "<doc><p>One</p><p>Two</p></doc>");
    folder.Write("ui.xliff",
                 "<xliff version='2.0'><file><unit><segment><source>Hi.</source></segment>"
                 "</unit></file></xliff>");
    folder.Write("de.po", "msgid \"Open %s\"\nmsgstr \"\"\n");
    folder.Write("notes.txt", "First line.\n\nSecond \xEF\xBF\xBC line.");
    const DocumentSettings settings;
    EXPECT_EQ(Blocks(ReadDocument(folder.wpath("page.HTM"), settings)),
              (Lines{L"Hello <b>world</b>", L"Again"}));
    EXPECT_EQ(Blocks(ReadDocument(folder.wpath("doc.xml"), settings)), (Lines{L"One", L"Two"}));
    EXPECT_EQ(Blocks(ReadDocument(folder.wpath("ui.xliff"), settings)), Lines{L"Hi."});
    EXPECT_EQ(Blocks(ReadDocument(folder.wpath("de.po"), settings)), Lines{L"Open %s"});
    // Plain text is one block, its mark characters codes of their own.
    const DocumentText text = ReadDocument(folder.wpath("notes.txt"), settings);
    EXPECT_EQ(Blocks(text), Lines{L"First line.\n\nSecond \uFFFC line."});
    EXPECT_EQ(test::Codes(text.blocks[0].text), "S");
}

// The reason goes into a CSV cell of its own: words, no separator, no number.
void ExpectReadFailure(const std::wstring& path, const std::wstring& reason) {
    try {
        ReadDocument(path, DocumentSettings());
        ADD_FAILURE() << "no error for " << ToNarrow(path);
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), kEngineFailure);
        EXPECT_EQ(error.description(), reason);
        EXPECT_EQ(error.description().find(L';'), std::wstring::npos);
        for (wchar_t c : error.description()) EXPECT_FALSE(std::iswdigit(c)) << ToNarrow(reason);
    }
}

TEST(DocumentTest, AFileThatCannotBeReadFailsWithItsReasonInWords) {
    orv::test::TempFolder folder;
    folder.Write("50000.xlf", "<xliff><file>");
    const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    folder.Write("image.html", png);
    folder.Write("image.sgm", png);
    folder.Write("bad.po", "msgid \"a\"\nmsgstr \"\"\n\"a\" \"b\" \";\"\n");
    std::filesystem::create_directory(folder.path() / "folder.html");
    for (const char* name : {"missing.html", "missing.xml", "missing.xlf", "missing.po"})
        ExpectReadFailure(folder.wpath(name), L"The file does not exist");
    ExpectReadFailure(folder.wpath("folder.html"), L"The path names a folder, not a file");
    for (const char* name : {"image.html", "image.sgm"})
        ExpectReadFailure(folder.wpath(name),
                          L"The file is not a markup file (it holds binary data)");
    ExpectReadFailure(folder.wpath("50000.xlf"), L"The XLIFF file is not well-formed XML");
    ExpectReadFailure(folder.wpath("bad.po"),
                      L"The PO file is not well-formed: a string is followed by more text");
    ExpectReadFailure(L"", L"The file name cannot be used on this system");
}

TEST(DocumentTest, SettingsFilesAmendTheDefaultsAndAMissingOneIsAnError) {
    orv::test::TempFolder folder;
    folder.Write("html.ini", "\xEF\xBB\xBF[Skip]\r\nh1\r\n[Inline]\r\n  div , p\r\n");
    folder.Write("sgml.ini", "# SGML\n[inline]\nemph\n[SKIP]\nremark\nstray\n");
    const DocumentSettings settings =
        ReadDocumentSettings(folder.wpath("html.ini"), folder.wpath("sgml.ini"));
    EXPECT_EQ(settings.html.RoleOf("h1"), ElementRole::Skip);
    EXPECT_EQ(settings.html.RoleOf("DIV"), ElementRole::Inline);
    EXPECT_EQ(settings.html.RoleOf("p"), ElementRole::Inline);
    EXPECT_EQ(settings.html.RoleOf("b"), ElementRole::Inline);  // a default kept
    EXPECT_EQ(settings.html.RoleOf("script"), ElementRole::Skip);
    EXPECT_EQ(settings.html.RoleOf("table"), ElementRole::Block);
    EXPECT_EQ(settings.sgml.RoleOf("emph"), ElementRole::Inline);
    EXPECT_EQ(settings.sgml.RoleOf("doc:emph"), ElementRole::Inline);
    EXPECT_EQ(settings.sgml.RoleOf("stray"), ElementRole::Skip);
    EXPECT_EQ(settings.sgml.RoleOf("b"), ElementRole::Block);  // no HTML defaults for SGML

    const DocumentSettings defaults = ReadDocumentSettings(std::nullopt, std::wstring());
    EXPECT_EQ(defaults.html, DefaultHtmlRules());
    EXPECT_EQ(defaults.sgml, MarkupRules());

    try {
        ReadDocumentSettings(std::nullopt, folder.wpath("none.ini"));
        ADD_FAILURE() << "no error for a missing settings file";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.description(),
                  L"The SGML settings file cannot be read: the file does not exist");
    }
}

TEST(DocumentTest, EachBlockIsSplitOnItsOwnAndSegmentsStayWhole) {
    DocumentText document;
    document.blocks = {
        {test::Read("<p>First sentence. Second", DocumentFormat::Html).blocks.at(0).text, false},
        {Segment{L"one. Third.", {}}, false},
        {Segment{L"  Kept whole. Not split.\n", {}}, true},
        {Segment{L" \n ", {}}, true},
        {Segment{L"\uFFFC ", {InlineCode{}}}, true},
    };
    DocumentSegmenter segmenter(L"en-US");
    std::vector<std::wstring> texts;
    for (const Segment& segment : segmenter.Split(document)) texts.push_back(segment.text);
    EXPECT_EQ(texts, (Lines{L"First sentence.", L"Second", L"one.", L"Third.",
                            L"Kept whole. Not split."}));

    // PO messages break at every line.
    const DocumentText po =
        test::Read("msgid \"Usage: run\\nOptions. More.\"\nmsgstr \"\"\n", DocumentFormat::Po);
    texts.clear();
    for (const Segment& segment : segmenter.Split(po)) texts.push_back(segment.text);
    EXPECT_EQ(texts, (Lines{L"Usage: run", L"Options.", L"More."}));
}

}  // namespace
}  // namespace orv::engine
