// Word documents read as a translator sees them: the same text as a Word document, as plain
// text or as HTML counts the same, and what is not there to translate is left out.

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "OfficeCounts.h"
#include "support/office/WordFiles.h"
#include "support/office/ZipWriter.h"

namespace orv::engine::test {
namespace {

using orv::test::WordBytes;
using orv::test::WordFile;
using orv::test::WordNote;
using orv::test::WordParagraphs;
using orv::test::WordPart;

const std::string kFox = "The quick brown fox jumps over the lazy dog.";
const std::string kButton = "Press the green button to start the machine.";
const std::string kOffice = "Our office is closed on public holidays.";
const std::string kInvoices = "Invoices are due within thirty days.";
const std::string kFuzzyButton = "Press the red button to start the machine.";
const std::string kFuzzyOffice = "Our office is closed on all public holidays.";
const std::string kNew = "Nobody has ever written this sentence before today.";

std::string WordRun(const std::string& text, const std::string& properties = "") {
    return "<w:r>" + (properties.empty() ? "" : "<w:rPr>" + properties + "</w:rPr>") +
           "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

std::string Paragraph(const std::string& content) {
    return "<w:p>" + content + "</w:p>";
}

std::string TextLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

const std::string kBegin = "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>";
const std::string kSeparate = "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>";
const std::string kEnd = "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";

std::string Instruction(const std::string& code) {
    return "<w:r><w:instrText xml:space=\"preserve\">" + code + "</w:instrText></w:r>";
}

std::string Field(const std::string& code, const std::string& result) {
    return kBegin + Instruction(code) + kSeparate + result + kEnd;
}

// A shape with a text box holding `paragraphs`.
std::string Drawing(const std::string& paragraphs) {
    return "<w:drawing><wp:anchor><a:graphic><a:graphicData><wps:wsp><wps:txbx><w:txbxContent>" +
           paragraphs +
           "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor>"
           "</w:drawing>";
}

std::string TextBox(const std::string& paragraphs) {
    return "<w:r>" + Drawing(paragraphs) + "</w:r>";
}

std::string Docx(const std::string& body) {
    return WordBytes({.body = body});
}

struct Equivalent {
    const char* what;
    WordFile word;
    const char* otherName;  // "same.txt" or "same.html"
    std::string other;
};

void ExpectSameFigures(const Equivalent& c, const DocumentSettings& settings = {}) {
    SCOPED_TRACE(c.what);
    const std::string word = Figures(AnalyseDocument("text.docx", WordBytes(c.word), settings));
    EXPECT_EQ(word, Figures(AnalyseDocument(c.otherName, c.other, settings)));
    EXPECT_EQ(word.find("failed"), std::string::npos) << word;
}

TEST(WordDocument, CountsAsTheSameTextInPlainText) {
    const std::vector<std::string> sentences = {kFox, kFuzzyButton, kOffice, kNew, kInvoices};
    const std::string table = "<w:tbl><w:tblPr/><w:tr><w:tc><w:tcPr/>" + WordParagraphs({kFox}) +
                              "</w:tc><w:tc>" + WordParagraphs({kFuzzyOffice}) +
                              "</w:tc></w:tr></w:tbl>";
    const Equivalent cases[] = {
        {"paragraphs, with empty ones between",
         {.body = WordParagraphs(sentences) + "<w:p/>" + Paragraph(WordRun("   "))},
         "same.txt",
         TextLines(sentences)},
        {"runs split by editing history, fonts, sizes, colours and proofing",
         {.body = "<w:p w:rsidR=\"00A1\"><w:pPr><w:rPr><w:b/></w:rPr></w:pPr>" +
                  WordRun("Press the ", "<w:rFonts w:ascii=\"Arial\"/><w:sz w:val=\"22\"/>") +
                  "<w:proofErr w:type=\"spellStart\"/>" +
                  WordRun("green", "<w:color w:val=\"FF0000\"/><w:lang w:val=\"en-GB\"/>") +
                  "<w:proofErr w:type=\"spellEnd\"/><w:bookmarkStart w:id=\"0\" w:name=\"x\"/>" +
                  WordRun(" button to start the machine.", "<w:noProof/>") + "</w:p>"},
         "same.txt",
         TextLines({kButton})},
        {"table cells", {.body = table}, "same.txt", TextLines({kFox, kFuzzyOffice})},
        {"content controls, smart tags, custom markup, inserted and moved text",
         {.body = "<w:sdt><w:sdtPr><w:alias w:val=\"Box\"/></w:sdtPr><w:sdtContent>" +
                  WordParagraphs({kFox}) + "</w:sdtContent></w:sdt>" +
                  Paragraph("<w:smartTag w:element=\"place\">" + WordRun("Our office is closed ") +
                            "</w:smartTag><w:customXml w:element=\"x\">" + WordRun("on public ") +
                            "</w:customXml><w:ins w:id=\"1\" w:author=\"A\">" +
                            WordRun("holidays.") + "</w:ins>") +
                  Paragraph("<w:moveTo w:id=\"2\">" + WordRun(kInvoices) + "</w:moveTo>")},
         "same.txt",
         TextLines({kFox, kOffice, kInvoices})},
        {"a whole paragraph as a link, and a simple field's result",
         {.body =
              Paragraph("<w:hyperlink r:id=\"rIdLink\">" + WordRun(kButton) + "</w:hyperlink>") +
              Paragraph("<w:fldSimple w:instr=\" DOCPROPERTY Title \">" + WordRun(kInvoices) +
                        "</w:fldSimple>")},
         "same.txt",
         TextLines({kButton, kInvoices})},
        {"non-breaking and soft hyphens",
         {.body = Paragraph(WordRun("Our office is closed on pub") + "<w:r><w:softHyphen/></w:r>" +
                            WordRun("lic holidays.")) +
                  Paragraph(WordRun("A well") + "<w:r><w:noBreakHyphen/></w:r>" +
                            WordRun("known sentence."))},
         "same.txt",
         TextLines({kOffice, "A well-known sentence."})},
        {"a text box: its paragraphs and the one that anchors it",
         {.body = Paragraph(WordRun("Press the green button ") + TextBox(WordParagraphs({kFox})) +
                            WordRun("to start the machine."))},
         "same.txt",
         TextLines({kButton, kFox})},
        {"a formatted paragraph whose formatting is its own",
         {.body = Paragraph(WordRun(kFox, "<w:b/><w:i/>"))},
         "same.txt",
         TextLines({kFox})},
    };
    for (const Equivalent& c : cases) ExpectSameFigures(c);
}

TEST(WordDocument, AFormattingChangeCountsAsTheSameTagsInHtml) {
    const auto sentence = [](const std::string& properties, const std::string& before = "",
                             const std::string& after = "") {
        return Paragraph(WordRun("Press the ") + before + WordRun("green", properties) + after +
                         WordRun(" button to start the machine."));
    };
    const std::string plain = "<p>" + kButton + "</p>";
    const std::string bold = "<p>Press the <b>green</b> button to start the machine.</p>";
    const Equivalent cases[] = {
        {"bold", {.body = sentence("<w:b/>")}, "same.html", bold},
        {"italic", {.body = sentence("<w:i/>")}, "same.html", bold},
        {"underline", {.body = sentence("<w:u w:val=\"single\"/>")}, "same.html", bold},
        {"strike-through", {.body = sentence("<w:dstrike/>")}, "same.html", bold},
        {"superscript",
         {.body = sentence("<w:vertAlign w:val=\"superscript\"/>")},
         "same.html",
         bold},
        {"small capitals", {.body = sentence("<w:smallCaps w:val=\"true\"/>")}, "same.html", bold},
        {"a character style",
         {.body = sentence("<w:rStyle w:val=\"Strong\"/>")},
         "same.html",
         bold},
        {"a link",
         {.body = sentence("", "<w:hyperlink r:id=\"x\">", "</w:hyperlink>")},
         "same.html",
         bold},
        {"a link made by a field",
         {.body = Paragraph(WordRun("Press the ") +
                            Field(" HYPERLINK \"http://x\" ", WordRun("green")) +
                            WordRun(" button to start the machine."))},
         "same.html",
         bold},
        {"a link made by a simple field",
         {.body = sentence("", "<w:fldSimple w:instr=\" HYPERLINK &quot;http://x&quot; \">",
                           "</w:fldSimple>")},
         "same.html",
         bold},
        {"two changes in one sentence",
         {.body = Paragraph(WordRun("Press the ") + WordRun("green", "<w:b/>") +
                            WordRun(" button to ") + WordRun("start", "<w:i/>") +
                            WordRun(" the machine."))},
         "same.html",
         "<p>Press the <b>green</b> button to <i>start</i> the machine.</p>"},
        {"toggles switched off",
         {.body = sentence("<w:b w:val=\"0\"/><w:i w:val=\"false\"/>")},
         "same.html",
         plain},
        {"underline none", {.body = sentence("<w:u w:val=\"none\"/>")}, "same.html", plain},
        {"baseline", {.body = sentence("<w:vertAlign w:val=\"baseline\"/>")}, "same.html", plain},
        {"font, size, colour and highlight",
         {.body = sentence("<w:rFonts w:ascii=\"Arial\"/><w:sz w:val=\"30\"/><w:color "
                           "w:val=\"00FF00\"/><w:highlight w:val=\"yellow\"/>")},
         "same.html",
         plain},
        {"formatting history of a tracked change",
         {.body = sentence("<w:rPrChange w:id=\"1\"><w:rPr><w:b/></w:rPr></w:rPrChange>")},
         "same.html",
         plain},
    };
    for (const Equivalent& c : cases) ExpectSameFigures(c);
}

// Each document holds one thing that is not to be translated; read, it would add segments.
TEST(WordDocument, LeavesOutWhatIsNotToBeTranslated) {
    const std::string hiddenStyle =
        "<w:style w:type=\"character\" w:styleId=\"Secret\"><w:rPr><w:vanish/></w:rPr>"
        "</w:style><w:style w:type=\"character\" w:styleId=\"MoreSecret\"><w:basedOn "
        "w:val=\"Secret\"/></w:style>";
    const std::string fallback =
        "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + Drawing(WordParagraphs({kFox})) +
        "</mc:Choice><mc:Fallback><w:pict><v:shape><v:textbox><w:txbxContent>" +
        WordParagraphs({kFox}) + "</w:txbxContent></v:textbox></v:shape></w:pict></mc:Fallback>" +
        "</mc:AlternateContent></w:r>";
    const std::string twoSections =
        "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader\"/>"
        "</w:sectPr></w:pPr>" +
        WordRun(kFox) + "</w:p>" + WordParagraphs({kNew}) +
        "<w:sectPr><w:headerReference w:type=\"default\" "
        "r:id=\"rIdSameHeader\"/><w:footerReference "
        "w:type=\"default\" r:id=\"rIdFooter\"/></w:sectPr>";
    const Equivalent cases[] = {
        {"comments",
         {.body = Paragraph("<w:commentRangeStart w:id=\"0\"/>" + WordRun(kButton) +
                            "<w:commentRangeEnd w:id=\"0\"/><w:r><w:commentReference "
                            "w:id=\"0\"/></w:r>"),
          .comments = "<w:comment w:id=\"0\">" + WordParagraphs({kFox}) + "</w:comment>"},
         "same.txt",
         TextLines({kButton})},
        {"hidden text",
         {.body = Paragraph(WordRun(kButton) + WordRun(" " + kFox, "<w:vanish/>"))},
         "same.txt",
         TextLines({kButton})},
        {"hidden through a character style and the style it is based on",
         {.body =
              Paragraph(WordRun(kButton) + WordRun(" " + kFox, "<w:rStyle w:val=\"MoreSecret\"/>")),
          .styles = hiddenStyle},
         "same.txt",
         TextLines({kButton})},
        {"deleted and moved-away text",
         {.body = Paragraph(WordRun(kButton) + "<w:del w:id=\"1\"><w:r><w:delText> " + kFox +
                            "</w:delText></w:r></w:del>") +
                  Paragraph("<w:moveFrom w:id=\"2\">" + WordRun(kOffice) + "</w:moveFrom>")},
         "same.txt",
         TextLines({kButton})},
        {"a field's code, and the codes of fields inside it",
         {.body = Paragraph(Field(" IF 1 = 1 \"" + kFox + "\" ", "") + kBegin +
                            Instruction(" IF ") + Field(" PAGE ", WordRun("7")) +
                            Instruction(" = 7 \"x\" ") + kSeparate + WordRun(kButton) + kEnd)},
         "same.txt",
         TextLines({kButton})},
        {"the fallback of a text box",
         {.body = Paragraph(fallback)},
         "same.txt",
         TextLines({kFox})},
        {"a header shown in two sections",
         {.body = twoSections,
          .parts = {{"rIdHeader", "header", "header1.xml", WordParagraphs({kOffice})},
                    {"rIdSameHeader", "header", "header1.xml"},
                    {"rIdFooter", "footer", "footer1.xml", WordParagraphs({kInvoices})}}},
         "same.txt",
         TextLines({kFox, kNew, kOffice, kInvoices})},
        {"separators, even when referred to, and notes no one refers to",
         {.body = Paragraph(WordRun(kButton) + "<w:r><w:footnoteReference w:id=\"2\"/></w:r>" +
                            "<w:r><w:footnoteReference w:id=\"0\"/></w:r>"),
          .footnotes = "<w:footnote w:type=\"separator\" w:id=\"0\">" + WordParagraphs({kFox}) +
                       "</w:footnote><w:footnote w:type=\"continuationSeparator\" w:id=\"1\">" +
                       WordParagraphs({kNew}) + "</w:footnote>" +
                       WordNote("footnote", 2, {kInvoices}) + WordNote("footnote", 3, {kOffice})},
         "same.html",
         "<p>" + kButton + "<img src=\"a.png\"><img src=\"b.png\"></p><p>" + kInvoices + "</p>"},
    };
    for (const Equivalent& c : cases) ExpectSameFigures(c);
}

TEST(WordDocument, AFootnoteIsOneSegmentUnlessSettingsSplitIt) {
    const WordFile word = {
        .body = Paragraph(WordRun(kButton) + "<w:r><w:footnoteReference w:id=\"1\"/></w:r>"),
        .footnotes = WordNote("footnote", 1, {kFox + " " + kOffice, kInvoices})};
    const std::string body = "<p>" + kButton + "<img src=\"note.png\"></p>";
    DocumentSettings split;
    split.multiSegmentFootnotes = true;
    ExpectSameFigures({"split", word, "same.html",
                       body + "<p>" + kFox + " " + kOffice + "</p><p>" + kInvoices + "</p>"},
                      split);
    const DocumentReport whole = AnalyseDocument("notes.docx", WordBytes(word));
    const DocumentReport sentences = AnalyseDocument("notes.docx", WordBytes(word), split);
    EXPECT_EQ(whole.segments, 2);
    EXPECT_EQ(sentences.segments, 4);
    EXPECT_EQ(whole.total.words, sentences.total.words);
}

TEST(WordDocument, ReadsBodyNotesThenHeadersInTheirOrder) {
    const WordFile word = {
        .body = Paragraph(WordRun("Body one.") + "<w:r><w:footnoteReference w:id=\"2\"/></w:r>") +
                Paragraph(WordRun("Body two.") + "<w:r><w:endnoteReference w:id=\"1\"/></w:r>" +
                          "<w:r><w:footnoteReference w:id=\"1\"/></w:r>") +
                "<w:sectPr><w:footerReference r:id=\"rIdF\"/><w:headerReference "
                "r:id=\"rIdH\"/></w:sectPr>",
        .footnotes = WordNote("footnote", 1, {"Note one.", "Its second paragraph."}) +
                     WordNote("footnote", 2, {"Note two."}),
        .endnotes = WordNote("endnote", 1, {"End note."}),
        .parts = {{"rIdH", "header", "header1.xml", WordParagraphs({"Header."})},
                  {"rIdF", "footer", "footer1.xml", WordParagraphs({"Footer."})}}};
    const DocumentText document = Read(WordBytes(word), DocumentFormat::Word);
    EXPECT_EQ(
        Blocks(document),
        (test::Lines{L"Body one.<w:footnoteReference/>",
                     L"Body two.<w:endnoteReference/><w:footnoteReference/>", L"Note two.",
                     L"Note one. Its second paragraph.", L"End note.", L"Footer.", L"Header."}));
    EXPECT_TRUE(document.blocks.at(3).isSegment);
    EXPECT_FALSE(document.blocks.at(1).isSegment);
}

TEST(WordDocument, TabsBreaksSymbolsAndPicturesAreCodes) {
    const struct {
        const char* what;
        std::string body;
        test::Lines blocks;
        std::vector<std::string> codes;
    } cases[] = {
        {"tab, break, carriage return and symbol",
         Paragraph("<w:r><w:t>Name</w:t><w:tab/><w:t>Value</w:t><w:br w:type=\"page\"/>"
                   "<w:t>Next</w:t><w:cr/><w:sym w:font=\"Wingdings\" w:char=\"F0FC\"/></w:r>"),
         {L"Name<w:tab/>Value<w:br/>Next<w:cr/><w:sym/>"},
         {"S S S S"}},
        {"a picture and an embedded object",
         Paragraph(WordRun("See ") +
                   "<w:r><w:drawing><wp:inline><a:graphic/></wp:inline></w:drawing>"
                   "</w:r>" +
                   WordRun(" and ") + "<w:r><w:object><v:shape/></w:object></w:r>" +
                   WordRun(" here.")),
         {L"See <w:drawing/> and <w:object/> here."},
         {"S S"}},
        {"a bold word inside a tab stretch",
         Paragraph(WordRun("Name ") + WordRun("bold", "<w:b/>") +
                   "<w:r><w:rPr><w:b/></w:rPr><w:tab/></w:r>" + WordRun("value", "<w:b/>") +
                   WordRun(" and the rest of it")),
         {L"Name <b>bold<w:tab/>value</b> and the rest of it"},
         {"B1 S E1"}},
        {"a text box's paragraphs after the one that anchors it",
         Paragraph(WordRun("Before ") + TextBox(WordParagraphs({"Inside one.", "Inside two."})) +
                   WordRun("after.")) +
             WordParagraphs({"Next."}),
         {L"Before after.", L"Inside one.", L"Inside two.", L"Next."},
         {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DocumentText document = Read(Docx(c.body), DocumentFormat::Word);
        EXPECT_EQ(Blocks(document), c.blocks);
        EXPECT_EQ(BlockCodes(document), c.codes);
    }
}

TEST(WordDocument, StrictAndMacroEnabledDocumentsCountAsTheirPlainForm) {
    const WordFile plain = {
        .body = Paragraph(WordRun("Press the ") + WordRun("green", "<w:b/>") +
                          WordRun(" button to start the machine.") +
                          "<w:r><w:footnoteReference w:id=\"1\"/></w:r>") +
                Paragraph(WordRun(kFox) + WordRun(" " + kNew, "<w:vanish/>")) +
                "<w:sectPr><w:headerReference r:id=\"rIdH\"/></w:sectPr>",
        .footnotes = WordNote("footnote", 1, {kOffice}),
        .parts = {{"rIdH", "header", "header1.xml", WordParagraphs({kInvoices})}}};
    WordFile strict = plain;
    strict.strict = true;
    WordFile macros = plain;
    macros.macros = true;
    const std::string expected = Figures(AnalyseDocument("plain.docx", WordBytes(plain)));
    EXPECT_EQ(Figures(AnalyseDocument("strict.docx", WordBytes(strict))), expected);
    EXPECT_EQ(Figures(AnalyseDocument("macros.docm", WordBytes(macros))), expected);
    EXPECT_EQ(expected.find("failed"), std::string::npos) << expected;
    EXPECT_NE(expected.find("segments 4,"), std::string::npos) << expected;
}

TEST(WordDocument, ADocumentWithAMissingOrDamagedPartFailsWithItsReason) {
    const std::string missing = "The document refers to a part it does not hold";
    const std::string referringNote =
        Paragraph(WordRun(kFox) + "<w:r><w:footnoteReference w:id=\"1\"/></w:r>");
    const std::string header =
        WordParagraphs({kFox}) + "<w:sectPr><w:headerReference r:id=\"rIdH\"/></w:sectPr>";
    const struct {
        const char* what;
        WordFile word;
        std::string reason;
    } cases[] = {
        {"a header named but absent",
         {.body = header, .parts = {{"rIdH", "header", "header1.xml", "", true}}},
         missing},
        {"a header with no relationship", {.body = header}, missing},
        {"notes referred to, with no notes part", {.body = referringNote}, missing},
        {"notes that are not well-formed",
         {.body = referringNote, .footnotes = "<w:footnote w:id=\"1\"><w:p></w:footnote>"},
         "A part of the document is not well-formed XML"},
        {"a body that is not well-formed",
         {.body = "<w:p><w:r></w:p>"},
         "A part of the document is not well-formed XML"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DocumentReport report = AnalyseDocument("broken.docx", WordBytes(c.word));
        EXPECT_EQ(Figures(report), "failed: " + c.reason +
                                       "; segments 0, words 0, characters 0, placeables 0, "
                                       "tagging errors 0");
    }
    const std::string workbook = orv::test::ZipBytes(
        {{"_rels/.rels",
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"r\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
         {"xl/workbook.xml", "<workbook/>"}});
    EXPECT_EQ(FailureOf([&] { Read(workbook, DocumentFormat::Word); }),
              L"The package is not a Word document");
}

// Damaged or hostile markup: each document is read, or fails with a reason, in bounded time.
TEST(WordDocument, HostileMarkupIsReadOrRefusedWithoutHarm) {
    std::string deep, manyFields, boxes = WordParagraphs({kOffice});
    for (int i = 0; i < 5000; ++i) deep += "<w:sdt><w:sdtContent>";
    for (int i = 0; i < 5000; ++i) deep += "</w:sdtContent></w:sdt>";
    for (int i = 0; i < 20000; ++i) manyFields += kBegin + kSeparate;
    for (int i = 0; i < 20; ++i) boxes = Paragraph(WordRun("Box.") + TextBox(boxes));
    const struct {
        const char* what;
        std::string body;
        std::string figures;  // the start of what Figures says
    } cases[] = {
        {"content controls nested thousands deep", deep + WordParagraphs({kFox}),
         "failed: A part of the document is not well-formed XML"},
        {"thousands of fields begun and never ended",
         Paragraph(manyFields + WordRun(kFox)) + WordParagraphs({kOffice}), "segments 2,"},
        {"a field's end with no beginning", Paragraph(kEnd + kSeparate + WordRun(kFox)),
         "segments 1,"},
        {"text boxes inside text boxes", boxes, "segments 21,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string figures = Figures(AnalyseDocument("hostile.docx", Docx(c.body)));
        EXPECT_EQ(figures.substr(0, c.figures.size()), c.figures) << figures;
    }
}

// A field that begins and never ends hides what follows it, as its code would; the log says
// so, and what came before it still counts.
TEST(WordDocument, AFieldThatNeverEndsIsNoted) {
    const DocumentText damaged = Read(
        Docx(WordParagraphs({kFox}) + Paragraph(kBegin + WordRun(kOffice))), DocumentFormat::Word);
    EXPECT_EQ(damaged.blocks.size(), 1u);
    EXPECT_EQ(damaged.notes, std::vector<std::wstring>{L"A field of the document begins and never "
                                                       L"ends: the text after its start is not "
                                                       L"counted"});
    const DocumentText whole =
        Read(Docx(Paragraph(kBegin + kSeparate + WordRun(kOffice) + kEnd)), DocumentFormat::Word);
    EXPECT_TRUE(whole.notes.empty());
}

}  // namespace
}  // namespace orv::engine::test
