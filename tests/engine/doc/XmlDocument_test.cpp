#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using namespace std::string_literals;
using test::Blocks;
using test::Lines;

DocumentText Xml(const std::string& bytes, const DocumentSettings& settings = {}) {
    return test::Read(bytes, DocumentFormat::Xml, settings);
}

const std::string kManual =
    "<?xml version=\"1.0\"?>\n<manual>\n  <title>Setup</title>\n"
    "  <para>Plug <emph>it</emph> in.<note>Only once.</note></para>\n"
    "  <para>Then <emph>switch <cmd>on</cmd></emph><empty/>.</para>\n</manual>\n";

TEST(XmlDocumentTest, WithoutSettingsEveryElementWithTextIsABlock) {
    const DocumentText document = Xml(kManual);
    EXPECT_EQ(Blocks(document),
              (Lines{L"Setup", L"Plug", L"it", L"in.", L"Only once.", L"Then", L"switch", L"on",
                     L"."}));
    EXPECT_EQ(document.taggingErrors, 0);
}

TEST(XmlDocumentTest, SettingsNameTheInlineAndSkippedElements) {
    const DocumentText document =
        Xml(kManual, test::SettingsOf(L"[Inline]\nemph cmd empty\n[Skip]\nnote\n"));
    EXPECT_EQ(Blocks(document), (Lines{L"Setup", L"Plug <emph>it</emph> in.",
                                       L"Then <emph>switch <cmd>on</cmd></emph><empty/>."}));
    // Pairs are numbered through the document.
    EXPECT_EQ(test::Codes(document.blocks[2].text), "B2 B3 E3 E2 S");
}

TEST(XmlDocumentTest, EntitiesStayCodesAndNothingOutsideTheFileIsRead) {
    orv::test::TempFolder folder;
    folder.Write("secret.txt", "SECRET");
    const std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE doc [\n"
                            "  <!ENTITY product \"Widget\">\n"
                            "  <!ENTITY secret SYSTEM \"file://" +
                            (folder.path() / "secret.txt").string() +
                            "\">\n]>\n<doc><p>Buy &product; now &amp; &#233;&#x263A; "
                            "<![CDATA[<b>raw</b>]]> &secret;<!-- no --><?pi no?></p></doc>";
    const DocumentText document = Xml(xml);
    EXPECT_EQ(Blocks(document), Lines{L"Buy &product; now & \u00E9\u263A <b>raw</b> &secret;"});
    EXPECT_EQ(test::Codes(document.blocks[0].text), "S S");
}

TEST(XmlDocumentTest, WhitespaceIsCollapsedUnlessPreserved) {
    EXPECT_EQ(Blocks(Xml("<doc><p>  one\n\n   two  </p><code xml:space=\"preserve\">a\n\n  b"
                         "<x xml:space=\"default\">c\n\n d</x></code></doc>")),
              (Lines{L"one two", L"a\n\n  b", L"c d"}));
}

TEST(XmlDocumentTest, ReadsTheEncodingThatTheFileDeclares) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8 with BOM", "\xEF\xBB\xBF<doc>Caf\xC3\xA9</doc>"},
        {"declared Latin-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><doc>Caf\xE9</doc>"},
        {"UTF-16 LE with BOM", "\xFF\xFE<\0d\0>\0C\0a\0f\0\xE9\0<\0/\0d\0>\0"s},
        {"UTF-16 BE without BOM",
         "\0<\0?\0x\0m\0l\0 \0v\0e\0r\0s\0i\0o\0n\0=\0'\0\x31\0.\0\x30\0'\0?\0>"
         "\0<\0d\0>\0C\0a\0f\0\xE9\0<\0/\0d\0>"s},
    };
    for (const Case& c : cases) EXPECT_EQ(Blocks(Xml(c.bytes)), Lines{L"Caf\u00E9"}) << c.name;
}

TEST(XmlDocumentTest, SgmlWithOmittedEndTagsAndUnquotedAttributesIsReadInRecovery) {
    const std::string sgml =
        "<!DOCTYPE manual PUBLIC \"-//Acme//DTD Manual//EN\">\n"
        "<MANUAL>\n<TITLE>Setup\n<PARA>Plug it in.\n"
        "<PARA ALIGN=left>Switch it <EMPH>on</EMPH> &mdash; <EMPH>now.\n"
        "<PARA>Last <CMD>reboot</EMPH></CMD>\n</MANUAL>\n";
    const DocumentText document = Xml(sgml, test::SettingsOf(L"[Inline]\nemph, cmd"));
    EXPECT_EQ(Blocks(document),
              (Lines{L"Setup", L"Plug it in.", L"Switch it <emph>on</emph> \u2014 <emph>now.",
                     L"Last <cmd>reboot</cmd>"}));
    // The second EMPH ends inside CMD: one crossed pair.
    EXPECT_EQ(document.taggingErrors, 1);
}

TEST(XmlDocumentTest, AFileThatIsNoXmlAtAllIsReadAsText) {
    EXPECT_EQ(Blocks(Xml("")), Lines{});
    EXPECT_EQ(Blocks(Xml("Just a line & more")), Lines{L"Just a line & more"});
}

}  // namespace
}  // namespace orv::engine
