// OpenDocument texts, spreadsheets and presentations count as the same text would as plain
// text or HTML; what a reader of the document does not see is left out, each rule shown by a
// document that would count differently without it.

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "OfficeCounts.h"
#include "engine/text/Utf8.h"
#include "support/office/OpenDocumentFiles.h"
#include "support/office/ZipWriter.h"

namespace orv::engine::test {
namespace {

using orv::test::FlatOpenDocumentBytes;
using orv::test::OdfKind;
using orv::test::OdfParts;
using orv::test::OpenDocumentBytes;

const char* FileNameOf(OdfKind kind) {
    switch (kind) {
        case OdfKind::Text:
            return "letter.odt";
        case OdfKind::Spreadsheet:
            return "prices.ods";
        case OdfKind::Presentation:
            break;
    }
    return "slides.odp";
}

std::string FiguresOf(OdfKind kind, const OdfParts& parts, const DocumentSettings& settings = {}) {
    return Figures(AnalyseDocument(FileNameOf(kind), OpenDocumentBytes(kind, parts), settings));
}

std::string FiguresOfText(const std::string& fileName, const std::string& text) {
    return Figures(AnalyseDocument(fileName, text));
}

DocumentText ReadOdf(OdfKind kind, const OdfParts& parts, const DocumentSettings& settings = {}) {
    return Read(OpenDocumentBytes(kind, parts), DocumentFormat::OpenDocument, settings);
}

std::string P(const std::string& content, const std::string& attributes = "") {
    return "<text:p" + attributes + ">" + content + "</text:p>";
}

std::string Cell(const std::string& text, const std::string& attributes = "") {
    return "<table:table-cell office:value-type=\"string\"" + attributes + ">" + P(text) +
           "</table:table-cell>";
}

std::string Sheet(const std::string& name, const std::string& content,
                  const std::string& attributes = "") {
    return "<table:table table:name=\"" + name + "\"" + attributes + ">" + content +
           "</table:table>";
}

std::string Slide(const std::string& text, const std::string& notes = "",
                  const std::string& attributes = "") {
    std::string page = "<draw:page draw:name=\"p\"" + attributes +
                       "><draw:frame presentation:class=\"title\"><draw:text-box>" + P(text) +
                       "</draw:text-box></draw:frame>";
    if (!notes.empty())
        page += "<presentation:notes><draw:page-thumbnail/><draw:frame><draw:text-box>" + P(notes) +
                "</draw:text-box></draw:frame></presentation:notes>";
    return page + "</draw:page>";
}

const std::string kFox = "The quick brown fox jumps over the lazy dog.";
const std::string kButton = "Press the green button to start the machine.";
const std::string kOffice = "Our office is closed on public holidays.";
const std::string kInvoices = "Invoices are due within thirty days.";

const std::string kBoldStyles =
    R"(<style:style style:name="T1" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>)"
    R"(<style:style style:name="T2" style:family="text"><style:text-properties fo:font-weight="700" style:font-weight-asian="bold"/></style:style>)"
    R"(<style:style style:name="T3" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>)"
    R"(<style:style style:name="Gone" style:family="text"><style:text-properties text:display="none"/></style:style>)"
    R"(<style:style style:name="P1" style:family="paragraph" style:parent-style-name="Standard"><style:text-properties fo:font-weight="bold"/></style:style>)"
    R"(<style:style style:name="HiddenSheet" style:family="table"><style:table-properties table:display="false"/></style:style>)"
    R"(<style:style style:name="HiddenSlide" style:family="drawing-page"><style:drawing-page-properties presentation:visibility="hidden"/></style:style>)";

const std::string kCommonStyles =
    R"(<style:style style:name="Standard" style:family="paragraph"/>)"
    R"(<style:style style:name="Strong" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>)";

TEST(OpenDocumentTest, ATextCountsAsTheSameTextInPlainText) {
    const struct {
        const char* what;
        std::string body;
        std::string text;
    } cases[] = {
        {"paragraphs and headings",
         "<text:h text:outline-level=\"1\">" + kFox + "</text:h>" + P(kButton) +
             P("Press the green button to stop the machine.") + P("") + P(kOffice + " " + kFox),
         kFox + "\n\n" + kButton + "\n\nPress the green button to stop the machine.\n\n" + kOffice +
             " " + kFox + "\n"},
        {"lists, sections, tables",
         "<text:list><text:list-item>" + P(kInvoices) + "</text:list-item></text:list>" +
             "<text:section text:name=\"s\">" + P(kOffice) + "</text:section>" +
             "<table:table><table:table-row><table:table-cell>" + P(kFox) +
             "</table:table-cell><table:table-cell>" + P("Invoices are due within ten days.") +
             "</table:table-cell></table:table-row></table:table>",
         kInvoices + "\n\n" + kOffice + "\n\n" + kFox + "\n\nInvoices are due within ten days.\n"},
        {"whitespace as it shows, bookmarks and soft page breaks transparent",
         P("  Invoices are\n   due <text:bookmark-start text:name=\"b\"/>within"
           "<text:bookmark-end text:name=\"b\"/> <text:soft-page-break/>thirty "
           "<text:reference-mark text:name=\"r\"/>days.") +
             P("The quick brown<text:s/> fox <text:sequence "
               "text:name=\"Figure\">jumps</text:sequence>"
               " over the lazy dog."),
         kInvoices + "\n\nThe quick brown  fox jumps over the lazy dog.\n"},
        {"a frame's paragraphs follow the paragraph that anchors it",
         P(kButton + "<draw:frame text:anchor-type=\"paragraph\"><draw:text-box>" + P(kOffice) +
           "</draw:text-box></draw:frame>") +
             P(kFox),
         kButton + "\n\n" + kOffice + "\n\n" + kFox + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OdfParts parts;
        parts.body = c.body;
        const std::string expected = FiguresOfText("same.txt", c.text);
        EXPECT_EQ(FiguresOf(OdfKind::Text, parts), expected);
        EXPECT_EQ(
            Figures(AnalyseDocument("letter.fodt", FlatOpenDocumentBytes(OdfKind::Text, parts))),
            expected);
    }
}

TEST(OpenDocumentTest, FormattingInsideASentenceCountsAsHtmlTagsWould) {
    const struct {
        const char* what;
        std::string body;
        std::string html;
    } cases[] = {
        {"a bold word",
         P("Press the <text:span text:style-name=\"T1\">green</text:span> button to start the "
           "machine."),
         "<p>Press the <b>green</b> button to start the machine.</p>"},
        {"two automatic styles of one look are one stretch",
         P("Press the <text:span text:style-name=\"T1\">green</text:span><text:span "
           "text:style-name=\"T2\"> button</text:span> to start the machine."),
         "<p>Press the <b>green button</b> to start the machine.</p>"},
        {"the space between two bold words opens no pair",
         P("Press the <text:span text:style-name=\"T1\">green</text:span> <text:span "
           "text:style-name=\"T2\">button</text:span> to start the machine."),
         "<p>Press the <b>green button</b> to start the machine.</p>"},
        {"a link and an italic word",
         P("<text:a xlink:href=\"https://example.org\">Invoices</text:a> are due within <text:span "
           "text:style-name=\"T3\">thirty</text:span> days."),
         "<p><a href=\"https://example.org\">Invoices</a> are due within <i>thirty</i> "
         "days.</p>"},
        {"a paragraph all in bold has no code, a plain word in it has",
         P("Our office is <text:span text:style-name=\"T1\">closed</text:span> on public "
           "holidays.",
           " text:style-name=\"P1\"") +
             P(kFox, " text:style-name=\"P1\""),
         "<p>Our office is closed on public holidays.</p><p>" + kFox + "</p>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OdfParts parts;
        parts.body = c.body;
        parts.automaticStyles = kBoldStyles;
        EXPECT_EQ(FiguresOf(OdfKind::Text, parts), FiguresOfText("same.html", c.html));
    }
}

TEST(OpenDocumentTest, CodesStandForTabsBreaksPicturesAndStylesByLookOrByName) {
    OdfParts parts;
    parts.automaticStyles = kBoldStyles;
    parts.styles = kCommonStyles;
    parts.body = P("Name<text:tab/>value<text:line-break/>next line") +
                 P("See <draw:frame text:anchor-type=\"as-char\"><draw:image xlink:href=\"a.png\"/>"
                   "<svg:title>A diagram</svg:title></draw:frame> here") +
                 P("One <text:span text:style-name=\"T1\">bold</text:span> and <text:span "
                   "text:style-name=\"Strong\">strong</text:span> word") +
                 P("Many<text:s text:c=\"99999999999\"/>spaces");
    const DocumentText document = ReadOdf(OdfKind::Text, parts);
    EXPECT_EQ(
        Blocks(document),
        (Lines{L"Name<text:tab/>value<text:line-break/>next line", L"See <draw:frame/> here",
               L"One <b>bold</b> and <b span class=\"Strong\">strong</b span class=\"Strong\"> "
               L"word",
               L"Many" + std::wstring(32, L' ') + L"spaces"}));
    EXPECT_EQ(BlockCodes(document), (std::vector<std::string>{"S S", "S", "B1 E1 B2 E2", ""}));
    EXPECT_EQ(document.taggingErrors, 0);
}

TEST(OpenDocumentTest, NotesFollowTheBodyAsOneSegmentOrSplitIntoSentences) {
    OdfParts parts;
    parts.body = P(kInvoices +
                   "<text:note text:note-class=\"footnote\"><text:note-citation>1</text:note-"
                   "citation><text:note-body>" +
                   P(kButton) + P(kOffice) + "</text:note-body></text:note> " + kFox) +
                 P("Press the red button.");
    const Lines body{L"Invoices are due within thirty days. " + FromUtf8(kFox),
                     L"Press the red button."};

    const DocumentText joined = ReadOdf(OdfKind::Text, parts);
    Lines expected = body;
    expected.push_back(FromUtf8(kButton + " " + kOffice));
    EXPECT_EQ(Blocks(joined), expected);
    EXPECT_TRUE(joined.blocks.back().isSegment);

    DocumentSettings split;
    split.multiSegmentFootnotes = true;
    const DocumentText separate = ReadOdf(OdfKind::Text, parts, split);
    expected = body;
    expected.push_back(FromUtf8(kButton));
    expected.push_back(FromUtf8(kOffice));
    EXPECT_EQ(Blocks(separate), expected);
    EXPECT_FALSE(separate.blocks.back().isSegment);

    // As one segment the note matches nothing; split, both its sentences are exact matches.
    const std::string text = kInvoices + " " + kFox + "\n\nPress the red button.\n\n";
    EXPECT_EQ(FiguresOf(OdfKind::Text, parts, split),
              FiguresOfText("same.txt", text + kButton + " " + kOffice + "\n"));
    EXPECT_NE(FiguresOf(OdfKind::Text, parts), FiguresOf(OdfKind::Text, parts, split));
}

TEST(OpenDocumentTest, FramesFollowTheirParagraphNotesTheBodyAndHeadersTheNotes) {
    OdfParts parts;
    parts.body = P("Body text <draw:frame><draw:text-box>" + P("In a frame.") +
                   "</draw:text-box></draw:frame>here.<text:note><text:note-body>" + P("A note.") +
                   "</text:note-body></text:note>") +
                 P("Second paragraph.");
    parts.masterStyles =
        "<style:master-page style:name=\"Standard\"><style:header>" + P("Company header.") +
        "</style:header><style:header-left>" + P("Company header.") +
        "</style:header-left><style:footer>" +
        P("Page <text:page-number>1</text:page-number> of <text:page-count>2</text:page-count>") +
        "</style:footer></style:master-page><style:master-page style:name=\"Other\">"
        "<style:header>" +
        P("Company header.") + "</style:header><style:footer style:display=\"false\">" +
        P("A footer switched off.") + "</style:footer></style:master-page>";
    const Lines expected{L"Body text here.", L"In a frame.",     L"Second paragraph.",
                         L"A note.",         L"Company header.", L"Page of"};
    EXPECT_EQ(Blocks(ReadOdf(OdfKind::Text, parts)), expected);
    EXPECT_EQ(
        Blocks(Read(FlatOpenDocumentBytes(OdfKind::Text, parts), DocumentFormat::FlatOpenDocument)),
        expected);
}

// Each document holds text that a reader of it does not see; without the rule it would count
// as `unruled` does.
TEST(OpenDocumentTest, WhatDoesNotShowIsLeftOut) {
    const std::string twoRows = "<table:table-row>" + Cell(kFox) + "</table:table-row>";
    const struct {
        const char* what;
        OdfKind kind;
        std::string body;
        std::string shown;    // the document as plain text
        std::string unruled;  // what it would count as without the rule
    } cases[] = {
        {"a tracked deletion", OdfKind::Text,
         "<text:tracked-changes><text:changed-region text:id=\"c1\"><text:deletion>" + P(kOffice) +
             "</text:deletion></text:changed-region></text:tracked-changes>" +
             P("Invoices are due <text:change-start text:change-id=\"c2\"/>within<text:change-"
               "end text:change-id=\"c2\"/> thirty days.<text:change text:change-id=\"c1\"/>"),
         kInvoices, kOffice + "\n\n" + kInvoices},
        {"a comment", OdfKind::Text,
         P("Press the green button<office:annotation><text:p>Check this word.</text:p>"
           "</office:annotation> to start the machine."),
         kButton, "Press the green button Check this word. to start the machine."},
        {"a hidden span", OdfKind::Text,
         P(kFox + "<text:span text:style-name=\"Gone\"> Secret words.</text:span>"), kFox,
         kFox + " Secret words."},
        {"hidden text and a hidden paragraph", OdfKind::Text,
         P(kFox + "<text:hidden-text text:condition=\"x\" text:string-value=\"Secret words.\">"
                  "Secret words.</text:hidden-text>") +
             P("Hidden paragraph.<text:hidden-paragraph text:condition=\"x\"/>"),
         kFox, kFox + " Secret words.\n\nHidden paragraph."},
        {"a hidden section", OdfKind::Text,
         P(kFox) + "<text:section text:name=\"s\" text:display=\"none\">" + P(kOffice) +
             "</text:section>",
         kFox, kFox + "\n\n" + kOffice},
        {"page numbers and dates", OdfKind::Text,
         P(kInvoices + " <text:page-number>12</text:page-number> <text:date>1 May 2026</text:"
                       "date><text:time>10:00</text:time>"),
         kInvoices, kInvoices + " 12 1 May 2026 10:00"},
        {"a hidden sheet", OdfKind::Spreadsheet,
         Sheet("Prices", twoRows) +
             Sheet("Secret", "<table:table-row>" + Cell(kOffice) + "</table:table-row>",
                   " table:style-name=\"HiddenSheet\""),
         "Prices\n\n" + kFox, "Prices\n\n" + kFox + "\n\nSecret\n\n" + kOffice},
        {"a hidden row", OdfKind::Spreadsheet,
         Sheet("Prices", twoRows + "<table:table-row table:visibility=\"collapse\">" +
                             Cell(kOffice) + "</table:table-row>" +
                             "<table:table-row table:visibility=\"filter\">" + Cell(kButton) +
                             "</table:table-row>"),
         "Prices\n\n" + kFox, "Prices\n\n" + kFox + "\n\n" + kOffice + "\n\n" + kButton},
        {"a hidden column, one of a repeat", OdfKind::Spreadsheet,
         Sheet("Prices",
               "<table:table-column table:number-columns-repeated=\"2\"/>"
               "<table:table-column table:visibility=\"collapse\"/>"
               "<table:table-row>" +
                   Cell(kFox) + Cell(kOffice, " table:number-columns-repeated=\"2\"") +
                   "</table:table-row>"),
         "Prices\n\n" + kFox + "\n\n" + kOffice,
         "Prices\n\n" + kFox + "\n\n" + kOffice + "\n\n" + kOffice},
        {"numbers, dates and formulas", OdfKind::Spreadsheet,
         Sheet("Prices",
               "<table:table-row>" + Cell(kFox) +
                   "<table:table-cell office:value-type=\"float\" office:value=\"3\"><text:p>"
                   "3</text:p></table:table-cell><table:table-cell office:value-type=\"date\" "
                   "office:date-value=\"2026-05-01\"><text:p>May first</text:p></table:table-"
                   "cell><table:table-cell table:formula=\"of:=A1\" office:value-type=\"string\""
                   " office:string-value=\"x\"><text:p>" +
                   kOffice + "</text:p></table:table-cell></table:table-row>"),
         "Prices\n\n" + kFox, "Prices\n\n" + kFox + "\n\n3\n\nMay first\n\n" + kOffice},
        {"a hidden slide with its notes", OdfKind::Presentation,
         Slide(kFox, kOffice) + Slide(kButton, kInvoices, " draw:style-name=\"HiddenSlide\""),
         kFox + "\n\n" + kOffice, kFox + "\n\n" + kButton + "\n\n" + kOffice + "\n\n" + kInvoices},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OdfParts parts;
        parts.body = c.body;
        parts.automaticStyles = kBoldStyles;
        const std::string figures = FiguresOf(c.kind, parts);
        EXPECT_EQ(figures, FiguresOfText("same.txt", c.shown + "\n"));
        EXPECT_EQ(Figures(AnalyseDocument(std::string("flat.f") + (FileNameOf(c.kind) + 7),
                                          FlatOpenDocumentBytes(c.kind, parts))),
                  figures);
        EXPECT_NE(figures, FiguresOfText("unruled.txt", c.unruled + "\n"));
    }
}

TEST(OpenDocumentTest, SheetsAndSlidesGiveTheirTextInOrder) {
    OdfParts sheet;
    sheet.body =
        Sheet("Prices", "<table:table-row table:number-rows-repeated=\"2\">" +
                            Cell("Hello.", " table:number-columns-repeated=\"2\"") +
                            "<table:table-cell/><table:covered-table-cell>" + P("Under a merge.") +
                            "</table:covered-table-cell>" + "<table:table-cell>" + P("Untyped.") +
                            "<office:annotation>" + P("A comment.") +
                            "</office:annotation></table:table-cell></table:table-row>");
    // The copies of a repeated cell follow it, rather than row by row: they are repetitions.
    EXPECT_EQ(
        Blocks(ReadOdf(OdfKind::Spreadsheet, sheet)),
        (Lines{L"Prices", L"Hello.", L"Hello.", L"Hello.", L"Hello.", L"Untyped.", L"Untyped."}));

    OdfParts slides;
    slides.body =
        "<presentation:footer-decl presentation:name=\"f1\">Company  confidential."
        "</presentation:footer-decl><presentation:footer-decl presentation:name=\"f2\">"
        "Company confidential.</presentation:footer-decl><presentation:date-time-decl "
        "presentation:name=\"d1\" presentation:source=\"fixed\">1 May 2026"
        "</presentation:date-time-decl>" +
        Slide("First slide.", "First notes.") +
        "<draw:page><draw:frame presentation:class=\"subtitle\" "
        "presentation:placeholder=\"true\"><draw:text-box/></draw:frame>"
        "<draw:custom-shape><text:p>A shape.</text:p></draw:custom-shape>"
        "<draw:frame><table:table><table:table-row><table:table-cell>" +
        P("A table cell.") +
        "</table:table-cell></table:table-row></table:table></draw:frame></draw:page>" +
        Slide("Third slide.", "Third notes.");
    slides.masterStyles = "<style:master-page style:name=\"M\"><draw:frame><draw:text-box>" +
                          P("Master title.") + "</draw:text-box></draw:frame></style:master-page>";
    EXPECT_EQ(Blocks(ReadOdf(OdfKind::Presentation, slides)),
              (Lines{L"Company confidential.", L"First slide.", L"A shape.", L"A table cell.",
                     L"Third slide.", L"First notes.", L"Third notes."}));
}

TEST(OpenDocumentTest, HugeRepeatsCostNothingWhenEmptyAndAreCappedWithText) {
    OdfParts parts;
    parts.body =
        Sheet("Big",
              "<table:table-column table:number-columns-repeated=\"16384\"/>"
              "<table:table-row table:number-rows-repeated=\"1048576\"><table:table-cell "
              "table:number-columns-repeated=\"16384\"/></table:table-row>"
              "<table:table-row table:number-rows-repeated=\"1048576\">" +
                  Cell("Repeated text.", " table:number-columns-repeated=\"16384\"") +
                  "</table:table-row><table:table-row "
                  "table:number-rows-repeated=\"99999999999999999999\">" +
                  Cell("More text.", " table:number-columns-repeated=\"99999999999999999999\"") +
                  "</table:table-row>");
    const DocumentText document = ReadOdf(OdfKind::Spreadsheet, parts);
    // The name, the first cell and its capped copies, then the second cell once.
    ASSERT_EQ(document.blocks.size(), 1u + 1u + 10000u + 1u);
    EXPECT_EQ(Render(document.blocks[10001].text), L"Repeated text.");
    EXPECT_EQ(Render(document.blocks.back().text), L"More text.");
    ASSERT_EQ(document.notes.size(), 1u);
}

TEST(OpenDocumentTest, AutomaticStylesServeOnlyThePartThatHoldsThem) {
    OdfParts parts;
    parts.masterAutomaticStyles =
        R"(<style:style style:name="MT1" style:family="text"><style:text-properties )"
        R"(text:display="none"/></style:style>)";
    parts.masterStyles = "<style:master-page style:name=\"Standard\"><style:header>" +
                         P("Header <text:span text:style-name=\"MT1\">secret </text:span>text.") +
                         "</style:header></style:master-page>";
    parts.body = P("Body <text:span text:style-name=\"MT1\">shown </text:span>text.");
    EXPECT_EQ(Blocks(ReadOdf(OdfKind::Text, parts)), (Lines{L"Body shown text.", L"Header text."}));
}

TEST(OpenDocumentTest, AFileIsReadAsWhatItHoldsWhateverItsExtension) {
    OdfParts parts;
    parts.body = P(kFox) + P(kOffice);
    const std::string expected = FiguresOfText("same.txt", kFox + "\n\n" + kOffice + "\n");
    EXPECT_EQ(Figures(AnalyseDocument("flat.odt", FlatOpenDocumentBytes(OdfKind::Text, parts))),
              expected);
    EXPECT_EQ(Figures(AnalyseDocument("packed.fodt", OpenDocumentBytes(OdfKind::Text, parts))),
              expected);
}

TEST(OpenDocumentTest, ElementsAreKnownByTheirNamespaceNotTheirPrefix) {
    OdfParts parts;
    parts.body =
        "<t:p xmlns:t=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">Other "
        "prefix.</t:p><text:p xmlns:text=\"urn:example:not-text\">Not a paragraph."
        "</text:p>";
    EXPECT_EQ(Blocks(ReadOdf(OdfKind::Text, parts)), (Lines{L"Other prefix."}));
}

TEST(OpenDocumentTest, BadFilesFailWithTheirReason) {
    OdfParts encrypted;
    encrypted.body = P(kFox);
    encrypted.encrypted = true;
    OdfParts deep;
    for (int i = 0; i < 300; ++i) deep.body += "<text:p><draw:frame><draw:text-box>";
    OdfParts chart;
    const struct {
        const char* fileName;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"locked.odt", OpenDocumentBytes(OdfKind::Text, encrypted),
         "The document is encrypted: open it with its password and save it without one"},
        {"empty.odt", orv::test::ZipBytes({{"mimetype", "application/x", true}}),
         "The document has no content part: it is damaged, or not an OpenDocument file"},
        {"broken.odt", orv::test::ZipBytes({{"content.xml", "<office:document-content"}}),
         "A part of the document is not well-formed XML"},
        {"deep.odt", OpenDocumentBytes(OdfKind::Text, deep),
         "A part of the document is not well-formed XML"},
        {"page.fodt", "<html><body>Hello</body></html>",
         "The file is not an OpenDocument text, spreadsheet or presentation"},
        {"chart.fodt",
         "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\">"
         "<office:body><office:chart/></office:body></office:document>",
         "The file is not an OpenDocument text, spreadsheet or presentation"},
        {"plain.odp", "Just text.", "The file is not a zip container"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        const DocumentReport report = AnalyseDocument(c.fileName, c.bytes);
        ASSERT_TRUE(report.failure.has_value());
        EXPECT_EQ(ToUtf8(*report.failure), c.reason);
    }
}

// A flat file cut short anywhere is refused in words: the text read up to the cut is never
// given as if it were the document.
TEST(OpenDocumentTest, AFlatFileCutShortAnywhereIsRefused) {
    OdfParts parts;
    parts.automaticStyles = kBoldStyles;
    parts.body = P("A <text:span text:style-name=\"T1\">bold</text:span> word<text:note>"
                   "<text:note-body>" +
                   P("A note.") + "</text:note-body></text:note>") +
                 Sheet("Prices", "<table:table-row>" + Cell(kFox) + "</table:table-row>");
    const std::string bytes = FlatOpenDocumentBytes(OdfKind::Text, parts);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::wstring failure =
            FailureOf([&] { Read(bytes.substr(0, size), DocumentFormat::FlatOpenDocument); });
        if (failure != L"A part of the document is not well-formed XML" &&
            failure != L"The file is not an OpenDocument text, spreadsheet or presentation")
            ADD_FAILURE() << "cut at " << size << ": " << ToUtf8(failure);
    }
    EXPECT_EQ(Blocks(Read(bytes, DocumentFormat::FlatOpenDocument)),
              (Lines{L"A <b>bold</b> word", FromUtf8(kFox), L"A note."}));
}

}  // namespace
}  // namespace orv::engine::test
