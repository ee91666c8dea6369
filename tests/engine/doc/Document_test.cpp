#include "engine/formats/Document.h"

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "engine/doc/DocumentSegmenter.h"
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
        {L"Report.DOCM", DocumentFormat::Word},
        {L"prices.xltx", DocumentFormat::Excel},
        {L"show.ppsx", DocumentFormat::PowerPoint},
        {L"budget.ods", DocumentFormat::OpenDocument},
        {L"letter.fodt", DocumentFormat::FlatOpenDocument},
        {L"old.pps", DocumentFormat::BinaryOffice},
        {L"letter.rtf", DocumentFormat::Rtf},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatOfDocument(c.path), c.format) << ToNarrow(c.path);
}

TEST(DocumentTest, ReadsEachKindOfFileFromDisk) {
    orv::test::TempFolder folder;
    const struct {
        const char* name;
        std::string bytes;
        Lines blocks;
    } cases[] = {
        {"page.HTM", "<p>Hello <b>world</b></p><p>Again</p>", {L"Hello <b>world</b>", L"Again"}},
        {"doc.xml", "<doc><p>One</p><p>Two</p></doc>", {L"One", L"Two"}},
        {"ui.xliff",
         "<xliff version='2.0'><file><unit><segment><source>Hi.</source></segment></unit></file>"
         "</xliff>",
         {L"Hi."}},
        {"de.po", "msgid \"Open %s\"\nmsgstr \"\"\n", {L"Open %s"}},
        // Plain text is one block, its mark characters codes of their own.
        {"notes.txt",
         "First line.\n\nSecond \xEF\xBF\xBC line.",
         {L"First line.\n\nSecond \uFFFC line."}},
    };
    for (const auto& c : cases) {
        folder.Write(c.name, c.bytes);
        EXPECT_EQ(Blocks(ReadDocument(folder.wpath(c.name), {})), c.blocks) << c.name;
    }
    EXPECT_EQ(test::BlockCodes(ReadDocument(folder.wpath("notes.txt"), {})),
              std::vector<std::string>{"S"});
}

// The reason goes into a CSV cell of its own: words, no separator, no number.
TEST(DocumentTest, AFileThatCannotBeReadFailsWithItsReasonInWords) {
    orv::test::TempFolder folder;
    folder.Write("50000.xlf", "<xliff><file>");
    const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    folder.Write("image.html", png);
    folder.Write("image.sgm", png);
    folder.Write("bad.po", "msgid \"a\"\nmsgstr \"\"\n\"a\" \"b\" \";\"\n");
    std::filesystem::create_directory(folder.path() / "folder.html");
    auto failure = [&](const char* name) {
        return test::FailureOf([&] { ReadDocument(folder.wpath(name), {}); });
    };
    for (const char* name : {"missing.html", "missing.xml", "missing.xlf", "missing.po"})
        EXPECT_EQ(failure(name), L"The file does not exist") << name;
    EXPECT_EQ(failure("folder.html"), L"The path names a folder, not a file");
    for (const char* name : {"image.html", "image.sgm"})
        EXPECT_EQ(failure(name), L"The file is not a markup file (it holds binary data)") << name;
    EXPECT_EQ(failure("50000.xlf"), L"The XLIFF file is not well-formed XML");
    EXPECT_EQ(failure("bad.po"),
              L"The PO file is not well-formed: a string is followed by more text");
    EXPECT_EQ(test::FailureOf([] { ReadDocument(L"", {}); }),
              L"The file name cannot be used on this system");
}

TEST(DocumentTest, SettingsFilesAmendTheDefaultsAndAMissingOneIsAnError) {
    orv::test::TempFolder folder;
    folder.Write("html.ini", "\xEF\xBB\xBF[Skip]\r\nh1\r\n[Inline]\r\n  div , p\r\n");
    folder.Write("sgml.ini", "# SGML\n[inline]\nemph\n[SKIP]\nremark\nstray\n");
    const DocumentSettings settings =
        ReadDocumentSettings(folder.wpath("html.ini"), folder.wpath("sgml.ini"));
    auto roles = [](const MarkupRules& rules, std::initializer_list<const char*> names) {
        std::vector<ElementRole> found;
        for (const char* name : names) found.push_back(rules.RoleOf(name));
        return found;
    };
    using enum ElementRole;
    // b keeps its default; script and table too.
    EXPECT_EQ(roles(settings.html, {"h1", "DIV", "p", "b", "script", "table"}),
              (std::vector{Skip, Inline, Inline, Inline, Skip, Block}));
    // No HTML defaults for SGML: b is a block.
    EXPECT_EQ(roles(settings.sgml, {"emph", "doc:emph", "stray", "b"}),
              (std::vector{Inline, Inline, Skip, Block}));

    const DocumentSettings defaults = ReadDocumentSettings(std::nullopt, std::wstring());
    EXPECT_EQ(defaults.html, DefaultHtmlRules());
    EXPECT_EQ(defaults.sgml, MarkupRules());
    EXPECT_EQ(
        test::FailureOf([&] { ReadDocumentSettings(std::nullopt, folder.wpath("none.ini")); }),
        L"The SGML settings file cannot be read: the file does not exist");
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
    auto split = [&](const DocumentText& text) {
        Lines texts;
        for (const Segment& segment : segmenter.Split(text)) texts.push_back(segment.text);
        return texts;
    };
    EXPECT_EQ(split(document), (Lines{L"First sentence.", L"Second", L"one.", L"Third.",
                                      L"Kept whole. Not split."}));
}

// A single line break inside a sentence is a space and a blank line ends a segment, whichever
// format holds the text.
TEST(DocumentTest, LineBreaksEndSegmentsAlikeInEveryFormat) {
    struct Case {
        DocumentFormat format;
        std::string bytes;
    };
    const Case cases[] = {
        {DocumentFormat::PlainText, "Run the tool with\nthe option. Then stop.\n\nNext part"},
        {DocumentFormat::Po,
         "msgid \"Run the tool with\\nthe option. Then stop.\\n\\nNext part\"\nmsgstr \"\"\n"},
        {DocumentFormat::Xliff,
         "<xliff version=\"1.2\"><file><body><trans-unit id=\"1\"><source>Run the tool with\n"
         "the option. Then stop.\n\nNext part</source></trans-unit></body></file></xliff>"},
        {DocumentFormat::Html, "<pre>Run the tool with\nthe option. Then stop.\n\nNext part</pre>"},
    };
    for (const Case& c : cases) {
        DocumentSegmenter segmenter(L"en-US");
        Lines texts;
        for (const Segment& segment : segmenter.Split(test::Read(c.bytes, c.format)))
            texts.push_back(segment.text);
        EXPECT_EQ(texts, (Lines{L"Run the tool with\nthe option.", L"Then stop.", L"Next part"}))
            << c.bytes;
    }
}

}  // namespace
}  // namespace orv::engine
