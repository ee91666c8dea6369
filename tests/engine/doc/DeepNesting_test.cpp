// Text at any depth of nesting is counted, never dropped: HTML at any depth, XML, SGML and
// XLIFF up to a thousand levels (entities expanded), and a deeper file is refused in words.

#include <gtest/gtest.h>

#include <string>

#include "DocumentTesting.h"

namespace orv::engine {
namespace {

using test::Blocks;
using test::Lines;

// The limit that README.md states.
constexpr int kLimit = 1000;

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// `levels` elements named `name`, one in the other, the innermost holding `text`.
std::string Nested(const std::string& name, int levels, const std::string& text) {
    return Repeated("<" + name + ">", levels) + text + Repeated("</" + name + ">", levels);
}

// A block for each paragraph, each opening `opened` that it never closes.
std::string Paragraphs(const std::string& opened, int count) {
    std::string html = "<html><body>";
    for (int i = 0; i < count; ++i)
        html += opened + "<p>Paragraph " + std::to_string(i) + ".</p>\n";
    return html + "</body></html>";
}

Lines ParagraphLines(int count) {
    Lines lines;
    for (int i = 0; i < count; ++i) lines.push_back(L"Paragraph " + std::to_wstring(i) + L".");
    return lines;
}

std::string Xliff12(const std::string& body) {
    return "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">"
           "<file original=\"a\" source-language=\"en\" datatype=\"plaintext\"><body>" +
           body + "</body></file></xliff>";
}

const std::string kUnit = "<trans-unit id=\"1\"><source>Deep text.</source></trans-unit>";

TEST(DeepNestingTest, TextAtAnyDepthWithinTheLimitIsRead) {
    const struct {
        const char* name;
        DocumentFormat format;
        std::string bytes;
        Lines blocks;
    } cases[] = {
        // libxml2's HTML parser stops in silence at 256 levels unless told otherwise.
        {"256 nested divs",
         DocumentFormat::Html,
         Nested("div", 256, "Deep text."),
         {L"Deep text."}},
        {"20000 nested divs then more",
         DocumentFormat::Html,
         Nested("div", 20000, "Deep text.") + "<p>After.</p>",
         {L"Deep text.", L"After."}},
        {"paragraphs each opening a div", DocumentFormat::Html, Paragraphs("<div>", 300),
         ParagraphLines(300)},
        {"paragraphs each opening a font", DocumentFormat::Html, Paragraphs("<font>", 300),
         ParagraphLines(300)},
        {"XML 256 levels",
         DocumentFormat::Xml,
         "<doc>" + Nested("d", 255, "Deep text.") + "<p>After.</p></doc>",
         {L"Deep text.", L"After."}},
        {"XML at the limit",
         DocumentFormat::Xml,
         "<doc>" + Nested("d", kLimit - 1, "Deep text.") + "<p>After.</p></doc>",
         {L"Deep text.", L"After."}},
        {"XML within the limit with an entity",
         DocumentFormat::Xml,
         "<!DOCTYPE doc [<!ENTITY deep '" + Nested("e", 400, "Deep &amp; text.") + "'>]><doc>" +
             Nested("d", 400, "&deep;") + "<p>After.</p></doc>",
         {L"Deep & text.", L"After."}},
        {"SGML paragraphs never closed", DocumentFormat::Xml,
         Repeated("<para>Deep text.\n", 300) + "</doc>", Lines(300, L"Deep text.")},
        {"XLIFF groups 300 deep",
         DocumentFormat::Xliff,
         Xliff12(Nested("group", 300, kUnit)),
         {L"Deep text."}},
        {"XLIFF inline codes 300 deep",
         DocumentFormat::Xliff,
         Xliff12("<trans-unit id=\"1\"><source>" + Nested("g", 300, "Deep text.") +
                 "</source></trans-unit>"),
         {L"Deep text."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lines blocks;
        for (const TextBlock& block : test::Read(c.bytes, c.format).blocks) {
            std::wstring text;
            for (wchar_t ch : block.text.text)
                if (ch != kCodeMark) text += ch;
            blocks.push_back(text);
        }
        EXPECT_EQ(blocks, c.blocks);
    }
}

TEST(DeepNestingTest, XmlNestedBeyondTheLimitIsRefusedInWords) {
    const std::wstring kTooDeep =
        L"The document's elements are nested more than a thousand "
        L"levels deep";
    const struct {
        const char* name;
        DocumentFormat format;
        std::string bytes;
    } cases[] = {
        {"XML one level beyond", DocumentFormat::Xml, Nested("d", kLimit + 1, "Deep text.")},
        {"XML where libxml2 stops", DocumentFormat::Xml, Nested("d", 5000, "Deep text.")},
        // Each entity within the limit, and the tree they make beyond it.
        {"XML made deeper by an entity", DocumentFormat::Xml,
         "<!DOCTYPE doc [<!ENTITY deep '" + Nested("e", 600, "Deep text.") + "'>]><doc>" +
             Nested("d", 600, "&deep;") + "</doc>"},
        {"SGML beyond", DocumentFormat::Xml, Repeated("<para>Deep text.\n", 5000)},
        {"XLIFF beyond", DocumentFormat::Xliff, Xliff12(Nested("group", 5000, kUnit))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(test::FailureOf([&] { test::Read(c.bytes, c.format); }), kTooDeep);
    }
}

}  // namespace
}  // namespace orv::engine
