#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "engine/text/Utf8.h"

namespace orv::engine {
namespace {

using namespace std::string_literals;
using test::Blocks;
using test::Lines;

DocumentText Html(const std::string& bytes, const DocumentSettings& settings = {}) {
    return test::Read(bytes, DocumentFormat::Html, settings);
}

TEST(HtmlDocumentTest, BlockElementsEndBlocksAndInlineElementsBecomeCodes) {
    const DocumentText document = Html(
        "<!DOCTYPE html><html><head><title>My page</title><style>p { color: red }</style>"
        "<script>var tag = \"<b>\";</script></head><body>"
        "<h1>Welcome</h1><p>This is <b>bold and <i>italic</i></b> text.<br>Next line</p>"
        "<!-- a comment --><ul><li>One</li><li>Two &amp; three&nbsp;&eacute;&#x263A;</li></ul>"
        "<table><tr><td>Cell</td><th>Head</th></tr></table><div>Outer<div>inner</div>tail</div>"
        "</body></html>");
    EXPECT_EQ(Blocks(document), (Lines{L"My page", L"Welcome",
                                       L"This is <b>bold and <i>italic</i></b> text.<br>Next line",
                                       L"One", L"Two & three\u00A0\u00E9\u263A", L"Cell", L"Head",
                                       L"Outer", L"inner", L"tail"}));
    EXPECT_EQ(test::Codes(document.blocks[2].text), "B1 B2 E2 E1 S");
    EXPECT_EQ(document.taggingErrors, 0);
    for (const TextBlock& block : document.blocks) EXPECT_FALSE(block.isSegment);
}

TEST(HtmlDocumentTest, WhitespaceIsCollapsedExceptInPreformattedText) {
    EXPECT_EQ(Blocks(Html("<p>\n  Hello\n\n   <b> world </b>  again\t</p>"
                          "<pre>line one\n  line two\n\nline three</pre>")),
              (Lines{L"Hello <b> world </b> again", L"line one\n  line two\n\nline three"}));
}

// Two line breaks in a row are a blank line: the paragraph ends there, and the breaks belong
// to neither side. One break stays a code inside its sentence.
TEST(HtmlDocumentTest, TwoLineBreaksInARowEndTheBlock) {
    struct Case {
        std::string html;
        Lines blocks;
        std::vector<std::string> codes;
    };
    const Case cases[] = {
        {"<p>Heading<br><br>Body text</p>", {L"Heading", L"Body text"}, {"", ""}},
        {"<p><b>Heading</b><br/>\n  <BR>Body</p>", {L"<b>Heading</b>", L"Body"}, {"B1 E1", ""}},
        {"<p>One<br><br><br> <br>Two</p>", {L"One", L"Two"}, {"", ""}},
        {"<p>One<br>Two <br> three</p>", {L"One<br>Two <br> three"}, {"S S"}},
        {"<p>One<br><b>x</b><br>Two</p>", {L"One<br><b>x</b><br>Two"}, {"S B1 E1 S"}},
        {"<p>Lead<br></p><p><br>Next</p>", {L"Lead<br>", L"<br>Next"}, {"S", "S"}},
        {"<pre>Line<br>\n<br>Last</pre>", {L"Line", L"Last"}, {"", ""}},
    };
    for (const Case& c : cases) {
        const DocumentText document = Html(c.html);
        EXPECT_EQ(Blocks(document), c.blocks) << c.html;
        EXPECT_EQ(test::BlockCodes(document), c.codes) << c.html;
    }
}

TEST(HtmlDocumentTest, TranslatableAttributesAreBlocksAfterTheirElementsBlock) {
    EXPECT_EQ(Blocks(Html("<p title=\"Paragraph tip\">See <img src=\"cat.png\" alt=\"A cat\"> "
                          "and <a href=\"x.html\" title=\"More\">this</a>.</p>"
                          "<form><input type=\"submit\" value=\"Send now\">"
                          "<input type=\"text\" value=\"typed by the user\">"
                          "<input placeholder=\"Your name\"><img alt=\"  \"></form>")),
              (Lines{L"See <img src=\"cat.png\" alt=\"A cat\"> and <a href=\"x.html\" "
                     L"title=\"More\">this</a>.",
                     L"Paragraph tip", L"A cat", L"More", L"Send now", L"Your name"}));
}

TEST(HtmlDocumentTest, BrokenMarkupIsMendedAndItsFaultsCounted) {
    const DocumentText document = Html(
        "<p>Unclosed <b>bold<p>Crossed <b>x <i>y</b> z</i><p>Stray</u> end<p>Last <a "
        "href='q'>link");
    EXPECT_EQ(Blocks(document), (Lines{L"Unclosed <b>bold</b>", L"Crossed <b>x <i>y</i></b> z",
                                       L"Stray end", L"Last <a href=\"q\">link</a>"}));
    // The unclosed b, the crossed b and i, the stray u, the unclosed a.
    EXPECT_EQ(document.taggingErrors, 4);
}

TEST(HtmlDocumentTest, ReadsTheEncodingThatTheFileDeclares) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8", "<p>Caf\xC3\xA9</p>"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF<p>Caf\xC3\xA9</p>"},
        {"meta charset",
         "<html><head><meta charset=\"iso-8859-1\"></head><body><p>Caf\xE9</p></body></html>"},
        {"meta http-equiv",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
         "charset=windows-1252\"></head><body><p>Caf\xE9</p></body></html>"},
        {"UTF-16 LE with BOM", "\xFF\xFE<\0p\0>\0C\0a\0f\0\xE9\0<\0/\0p\0>\0"s},
        {"UTF-16 BE with BOM", "\xFE\xFF\0<\0p\0>\0C\0a\0f\0\xE9\0<\0/\0p\0>"s},
        {"UTF-16 LE without BOM", "<\0p\0>\0C\0a\0f\0\xE9\0<\0/\0p\0>\0"s},
    };
    for (const Case& c : cases) EXPECT_EQ(Blocks(Html(c.bytes)), Lines{L"Caf\u00E9"}) << c.name;
}

TEST(HtmlDocumentTest, ASettingsFileChangesWhatIsInlineBlockOrSkipped) {
    const std::string page =
        "<table><tr><td>Start <div>inner</div> <b>bold</b> tail <code>rm -rf</code>."
        "<span class=\"x\">Span</span></td></tr></table>";
    EXPECT_EQ(Blocks(Html(page)),
              (Lines{L"Start", L"inner",
                     L"<b>bold</b> tail <code>rm -rf</code>.<span class=\"x\">Span</span>"}));
    const DocumentSettings settings = test::SettingsOf(
        L"; inline, block and untranslatable elements\n"
        L"[Inline]\nDIV\n[Block]\nb, span\n[Skip]\n<code>\n[Other]\ntd\n");
    EXPECT_EQ(Blocks(Html(page, settings)),
              (Lines{L"Start <div>inner</div>", L"bold", L"tail .", L"Span"}));
}

TEST(HtmlDocumentTest, AnEmptyOrTextOnlyFileIsReadToo) {
    EXPECT_EQ(Blocks(Html("")), Lines{});
    EXPECT_EQ(Blocks(Html("   \n ")), Lines{});
    EXPECT_EQ(Blocks(Html("Just text, no markup")), Lines{L"Just text, no markup"});
}

TEST(HtmlDocumentTest, TheEntitiesThatAnXhtmlPageDeclaresAreExpanded) {
    const DocumentText document = Html(
        "<!DOCTYPE html [<!ENTITY co \"ACME <b>Corp</b>\"><!-- a > b -->]>\n<html><body>"
        "<p>Buy &co;&nbsp;now &amp; &product;later.</p></body></html>");
    EXPECT_EQ(Blocks(document), Lines{L"Buy ACME <b>Corp</b>\u00A0now & later."});
    EXPECT_EQ(document.notes.size(), 2u) << "for &nbsp; and &product;, declared nowhere";
}

TEST(HtmlDocumentTest, OfTheHeadOnlyTheTitleIsText) {
    const DocumentText document = Html(
        "<html><head><meta charset=\"utf-8\"><title>Page title</title>"
        "<meta name=\"description\" content=\"What the page is about\">"
        "<link rel=\"alternate\" title=\"News feed\" href=\"feed.xml\">"
        "<base href=\"/\" title=\"Base\"><noscript>Enable scripts</noscript></head>"
        "<body><p><a href=\"x\" title=\"Tip\">Body text.</a></p>"
        "<link rel=\"stylesheet\" title=\"Dark style\"></body></html>");
    EXPECT_EQ(Blocks(document), (Lines{L"Page title",
                                       L"<a href=\"x\" title=\"Tip\">Body "
                                       L"text.</a>",
                                       L"Tip"}));
}

TEST(HtmlDocumentTest, PreformattedTextAndCodeAreTextUnlessTheSettingsSkipThem) {
    const std::string page = "<p>Run <code>make all</code> now.</p><pre>make install\n  done</pre>";
    const struct {
        const wchar_t* settings;
        Lines blocks;
    } cases[] = {
        {L"", {L"Run <code>make all</code> now.", L"make install\n  done"}},
        {L"[Skip]\ncode", {L"Run now.", L"make install\n  done"}},
        {L"[Skip]\npre, code", {L"Run now."}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Blocks(Html(page, test::SettingsOf(c.settings))), c.blocks) << c.settings;
    }
}

}  // namespace
}  // namespace orv::engine
