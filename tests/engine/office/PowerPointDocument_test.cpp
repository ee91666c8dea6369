// Presentations read as a translator sees them: the slides' text in the order they are shown,
// then their speaker notes, and nothing that no audience sees.

#include "engine/office/PowerPointDocument.h"

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "OfficeCounts.h"
#include "engine/text/Utf8.h"
#include "support/office/PowerPointFiles.h"

namespace orv::engine::test {
namespace {

using namespace orv::test;  // the writer of presentations

const std::string kFox = "The quick brown fox jumps over the lazy dog.";
const std::string kButton = "Press the green button to start the machine.";
const std::string kOffice = "Our office is closed on public holidays.";
const std::string kInvoices = "Invoices are due within thirty days.";
const std::string kNearFox = "The quick brown fox jumps over the lazy cat.";
const std::string kNew = "Meeting notes for the second quarter are attached to this mail.";

std::string PlainText(const std::vector<std::string>& paragraphs) {
    std::string text;
    for (const std::string& paragraph : paragraphs) text += paragraph + "\n\n";
    return text;
}

std::string Field(std::string_view type, std::string_view text) {
    return "<a:fld id=\"{6E0B3B2A-0000-4000-8000-000000000002}\" type=\"" + std::string(type) +
           "\"><a:rPr lang=\"en-US\"/><a:t>" + std::string(text) + "</a:t></a:fld>";
}

std::string Alternatives(const std::vector<std::string>& forms, std::string_view fallback) {
    std::string xml = "<mc:AlternateContent>";
    for (const std::string& form : forms)
        xml += "<mc:Choice Requires=\"x2\">" + form + "</mc:Choice>";
    return xml + "<mc:Fallback>" + std::string(fallback) + "</mc:Fallback></mc:AlternateContent>";
}

PresentationFile OneSlide(std::string shapes) {
    return {.slides = {{.shapes = std::move(shapes)}}};
}

struct SameAsText {
    const char* what;
    const char* fileName;
    PresentationFile presentation;
    std::vector<std::string> paragraphs;  // the text that counts, in its order
};

void ExpectSameFigures(const SameAsText& c) {
    SCOPED_TRACE(c.what);
    const std::string figures =
        Figures(AnalyseDocument(c.fileName, PresentationBytes(c.presentation)));
    EXPECT_EQ(figures, Figures(AnalyseDocument("same.txt", PlainText(c.paragraphs))));
    EXPECT_EQ(figures.find("failed"), std::string::npos) << figures;
}

TEST(PowerPointDocumentTest, CountsAsTheSameTextInPlainText) {
    const std::string plainRuns =
        TextRun("Press the ") + TextRun("green button", "sz=\"2400\"") +
        TextRun(" to start", "kern=\"1200\"",
                "<a:solidFill><a:srgbClr val=\"C00000\"/></a:solidFill>") +
        TextRun(" the machine.");
    const PresentationFile titleAndBody = {
        .slides = {
            {.shapes = Shape({Paragraph("Quarterly figures")}, "title") +
                       Shape({Paragraph(kButton), Paragraph(kNearFox), Paragraph(kNew)}, "body")},
            {.shapes = Shape({Paragraph(kOffice)}) + Connector()}}};
    PresentationFile strict = titleAndBody;
    strict.strict = true;
    PresentationFile macros = titleAndBody;
    macros.moreParts = {{"ppt/macros.bin", "macro project: " + kFox}};
    const SameAsText cases[] = {
        {"one text box", "one.pptx", OneSlide(Shape({Paragraph(kFox)})), {kFox}},
        {"title and body placeholders over two slides",
         "two.pptx",
         titleAndBody,
         {"Quarterly figures", kButton, kNearFox, kNew, kOffice}},
        {"the strict namespaces",
         "strict.pptx",
         strict,
         {"Quarterly figures", kButton, kNearFox, kNew, kOffice}},
        {"a macro-enabled presentation",
         "macros.pptm",
         macros,
         {"Quarterly figures", kButton, kNearFox, kNew, kOffice}},
        {"a slide show",
         "show.ppsx",
         titleAndBody,
         {"Quarterly figures", kButton, kNearFox, kNew, kOffice}},
        {"a template",
         "template.potx",
         titleAndBody,
         {"Quarterly figures", kButton, kNearFox, kNew, kOffice}},
        {"runs that differ in size, spacing and colour only",
         "runs.pptx",
         OneSlide(Shape({ParagraphOf(plainRuns)})),
         {kButton}},
        {"empty and blank paragraphs give no segment",
         "blank.pptx",
         OneSlide(Shape(
             {ParagraphOf(""), Paragraph("   "), Paragraph(kInvoices), ParagraphOf("<a:br/>")})),
         {kInvoices}},
        {"table cells, each its own block",
         "table.pptx",
         OneSlide(Table({{Paragraph(kOffice), Paragraph("Opening hours")},
                         {Paragraph(kInvoices), ParagraphOf("")}})),
         {kOffice, "Opening hours", kInvoices}},
        {"groups inside groups",
         "group.pptx",
         OneSlide(
             Group({Shape({Paragraph(kFox)}), Group({Shape({Paragraph(kNew)}), Connector()})})),
         {kFox, kNew}},
        {"speaker notes after the slides",
         "notes.pptx",
         {.slides = {{.shapes = Shape({Paragraph(kFox)}), .notes = {Paragraph(kButton)}},
                     {.shapes = Shape({Paragraph(kNew)})}}},
         {kFox, kNew, kButton}},
        {"a fallback with no choice before it is all there is to show",
         "fallback.pptx",
         OneSlide(Alternatives({}, Shape({Paragraph(kOffice)}))),
         {kOffice}},
        {"a field that is not generated counts",
         "field.pptx",
         OneSlide(Shape({ParagraphOf(Field("custom", "Quarterly figures"))})),
         {"Quarterly figures"}},
    };
    for (const SameAsText& c : cases) ExpectSameFigures(c);
}

// Each presentation holds text that a rule leaves out; were the rule missing, it would count.
TEST(PowerPointDocumentTest, LeavesOutWhatNoAudienceSeesOrNoTranslatorTranslates) {
    // A text box first: what follows the body placeholder is not part of it.
    const std::vector<std::string> notesPageShapes = {Shape({Paragraph(kFox)}),
                                                      Shape({Paragraph(kOffice)}, "sldNum"),
                                                      Shape({Paragraph(kInvoices)}, "hdr"),
                                                      Shape({Paragraph(kNearFox)}, "ftr"),
                                                      Shape({Paragraph(kNew)}, "dt"),
                                                      Shape({Paragraph(kButton)}, "sldImg")};
    std::string pageShapes;
    for (const std::string& shape : notesPageShapes) pageShapes += shape;
    const SameAsText cases[] = {
        {"a hidden slide and its notes",
         "hidden.pptx",
         {.slides =
              {{.shapes = Shape({Paragraph(kButton)})},
               {.shapes = Shape({Paragraph(kFox)}), .show = "0", .notes = {Paragraph(kOffice)}},
               {.shapes = Shape({Paragraph(kNew)}),
                .show = "false",
                .notes = {Paragraph(kInvoices)}}}},
         {kButton}},
        {"the slide number and date fields",
         "fields.pptx",
         OneSlide(Shape({ParagraphOf(TextRun(kInvoices) + Field("slidenum", "12")),
                         ParagraphOf(Field("datetime", "Monday, the seventh of December")),
                         ParagraphOf(Field("datetime13", "seven o'clock in the morning"))})),
         {kInvoices}},
        {"the fallback of alternative content",
         "fallback.pptx",
         OneSlide(Alternatives({Shape({Paragraph(kFox)})}, Shape({Paragraph(kFox)}))),
         {kFox}},
        {"a second choice and the fallback inside a paragraph",
         "choices.pptx",
         OneSlide(Shape(
             {ParagraphOf(Alternatives({TextRun(kButton), TextRun(kOffice)}, TextRun(kButton)))})),
         {kButton}},
        {"the notes page's other placeholders and text boxes",
         "notes.pptx",
         {.slides = {{.shapes = Shape({Paragraph(kButton)}),
                      .notes = {Paragraph(kNearFox)},
                      .notesShapes = pageShapes}}},
         {kButton, kNearFox}},
        {"the layout's prompt text",
         "layout.pptx",
         {.slides = {{.shapes = Shape({Paragraph(kButton)})}},
          .layoutShapes = Shape({Paragraph(kFox)}, "body")},
         {kButton}},
        {"a comment on a slide",
         "comment.pptx",
         {.slides = {{.shapes = Shape({Paragraph(kButton)}), .comment = kOffice}}},
         {kButton}},
    };
    for (const SameAsText& c : cases) ExpectSameFigures(c);
}

TEST(PowerPointDocumentTest, EmphasisInsideASentenceCountsAsTagsInHtmlDo) {
    const struct {
        const char* what;
        std::string paragraph;
        std::string html;
    } cases[] = {
        {"a bold word",
         ParagraphOf(TextRun("Press the ") + TextRun("green", "b=\"1\"") +
                     TextRun(" button to start the machine.")),
         "<p>Press the <b>green</b> button to start the machine.</p>"},
        {"an italic and an underlined word",
         ParagraphOf(TextRun("The quick ") + TextRun("brown", "i=\"true\"") +
                     TextRun(" fox jumps over the ") + TextRun("lazy", "u=\"sng\"") +
                     TextRun(" dog.")),
         "<p>The quick <i>brown</i> fox jumps over the <u>lazy</u> dog.</p>"},
        {"a superscript",
         ParagraphOf(TextRun("Invoices are due within thirty days") +
                     TextRun("1", "baseline=\"30000\"") + TextRun(".")),
         "<p>Invoices are due within thirty days<sup>1</sup>.</p>"},
        {"a link and a struck word",
         ParagraphOf(TextRun("Our ") + TextRun("office", "", "<a:hlinkClick r:id=\"rId9\"/>") +
                     TextRun(" is ") + TextRun("not", "strike=\"sngStrike\"") +
                     TextRun(" closed on public holidays.")),
         "<p>Our <a href=\"https://example.org/\">office</a> is <s>not</s> closed on public "
         "holidays.</p>"},
        {"a paragraph all in bold has no codes",
         ParagraphOf(TextRun("Our office is closed ", "b=\"1\"") +
                     TextRun("on public holidays.", "b=\"1\"")),
         "<p>Our office is closed on public holidays.</p>"},
        {"no underline, no strike, no raised baseline are no emphasis",
         ParagraphOf(TextRun("Our office is ") +
                     TextRun("closed", "b=\"0\" u=\"none\" strike=\"noStrike\" baseline=\"0\"") +
                     TextRun(" on public holidays.")),
         "<p>Our office is closed on public holidays.</p>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(
            Figures(AnalyseDocument("emphasis.pptx",
                                    PresentationBytes(OneSlide(Shape({c.paragraph}))))),
            Figures(AnalyseDocument("same.html", "<html><body>" + c.html + "</body></html>")));
    }
}

DocumentText ReadPresentation(const std::string& bytes) {
    return Read(bytes, DocumentFormat::PowerPoint);
}

TEST(PowerPointDocumentTest, ReadsSlidesInTheOrderShownThenTheirNotes) {
    // Parts named against the order shown: a reader going by part names would get it wrong.
    const PresentationFile file = {
        .slides = {
            {.shapes = Shape({Paragraph("first shown")}),
             .notes = {Paragraph("notes of the first")},
             .partNumber = 3},
            {.shapes = Shape({Paragraph("second shown")}) +
                       Table({{Paragraph("cell one"), Paragraph("cell two")}}) +
                       Group({Shape({Paragraph("grouped")})}) +
                       Shape({Paragraph("after the group")}),
             .partNumber = 1},
            {.shapes = Shape({Paragraph("third shown")}),
             .notes = {Paragraph("notes of the third")},
             .partNumber = 2},
        }};
    EXPECT_EQ(
        Blocks(ReadPresentation(PresentationBytes(file))),
        (Lines{L"first shown", L"second shown", L"cell one", L"cell two", L"grouped",
               L"after the group", L"third shown", L"notes of the first", L"notes of the third"}));
}

TEST(PowerPointDocumentTest, FormattingAndLineBreaksAreCodesWithIdsDistinctAcrossBlocks) {
    const std::string link = TextRun("terms", "", "<a:hlinkClick r:id=\"rId9\"/>");
    const DocumentText document = ReadPresentation(PresentationBytes(OneSlide(Shape({
        ParagraphOf(TextRun("Read the ") + TextRun("new", "b=\"1\" i=\"1\"") + TextRun(" rules")),
        ParagraphOf(TextRun("Read our ") + link + TextRun(" first") + "<a:br/>" +
                    TextRun("and sign.")),
        ParagraphOf(TextRun("H") + TextRun("2", "baseline=\"-25%\"") + TextRun("O is water")),
    }))));
    EXPECT_EQ(Blocks(document), (Lines{L"Read the <b i>new</b i> rules",
                                       L"Read our <link>terms</link> first<a:br/>and sign.",
                                       L"H<sub>2</sub>O is water"}));
    EXPECT_EQ(BlockCodes(document), (std::vector<std::string>{"B1 E1", "B2 E2 S", "B3 E3"}));
    EXPECT_EQ(document.taggingErrors, 0);
}

TEST(PowerPointDocumentTest, ASlideNamedTwiceIsReadOnce) {
    std::vector<ZipEntry> parts = PresentationParts(
        {.slides = {{.shapes = Shape({Paragraph("once")}), .notes = {Paragraph("its notes")}},
                    {.shapes = Shape({Paragraph("two")})}}});
    for (ZipEntry& part : parts)
        if (part.name == "ppt/presentation.xml")
            part.content.replace(part.content.find("</p:sldIdLst>"), 0,
                                 "<p:sldId id=\"300\" r:id=\"rId10\"/>");
    EXPECT_EQ(Blocks(ReadPresentation(ZipBytes(parts))), (Lines{L"once", L"two", L"its notes"}));
}

TEST(PowerPointDocumentTest, DeeplyNestedGroupsAreReadOrRefusedWithoutCrashing) {
    const auto nested = [](int depth) {
        std::string shapes;
        const std::string group = Group({"\n"});
        const std::size_t middle = group.find('\n');
        for (int i = 0; i < depth; ++i) shapes += group.substr(0, middle);
        shapes += Shape({Paragraph("deep inside")});
        for (int i = 0; i < depth; ++i) shapes += group.substr(middle + 1);
        return PresentationBytes(OneSlide(shapes));
    };
    EXPECT_EQ(Blocks(ReadPresentation(nested(40))), (Lines{L"deep inside"}));
    EXPECT_EQ(FailureOf([&] { ReadPresentation(nested(5000)); }),
              L"A part of the document is not well-formed XML");
}

TEST(PowerPointDocumentTest, AMissingOrDamagedPartFailsTheDocumentWithItsReason) {
    const PresentationFile file = {
        .slides = {{.shapes = Shape({Paragraph(kFox)}), .notes = {Paragraph(kButton)}}}};
    const struct {
        const char* what;
        const char* part;  // replaced by `content`, or dropped when that is null
        const char* content;
        const wchar_t* reason;
    } cases[] = {
        {"the slide part is missing", "ppt/slides/slide1.xml", nullptr,
         L"The presentation names a slide it does not hold"},
        {"the slide has no relationship", "ppt/_rels/presentation.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>",
         L"The presentation names a slide it does not hold"},
        {"the notes part is missing", "ppt/notesSlides/notesSlide1.xml", nullptr,
         L"The presentation names notes of a slide that it does not hold"},
        {"the slide is cut short", "ppt/slides/slide1.xml",
         "<p:sld xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"><p:cSld>",
         L"A part of the document is not well-formed XML"},
        {"the slide is no slide", "ppt/slides/slide1.xml", "<sld/>",
         L"A slide of the presentation is damaged"},
        {"the main part is a word processor's", "ppt/presentation.xml",
         "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"/>",
         L"The file is not a presentation but another kind of Office document"},
    };
    for (const auto& c : cases) {
        std::vector<ZipEntry> parts;
        for (ZipEntry& part : PresentationParts(file)) {
            if (part.name == c.part && !c.content) continue;
            if (part.name == c.part) part.content = c.content;
            parts.push_back(std::move(part));
        }
        EXPECT_EQ(FailureOf([&] { ReadPresentation(ZipBytes(parts)); }), c.reason) << c.what;
    }
}

}  // namespace
}  // namespace orv::engine::test
