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
    EXPECT_EQ(Blocks(document), (Lines{L"Setup", L"Plug", L"it", L"in.", L"Only once.", L"Then",
                                       L"switch", L"on", L"."}));
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
    // Were it read, the file's own DTD would not be well-formed, nor would its text be.
    folder.Write("secret.dtd", "SECRET <");
    folder.Write("secret.txt", "SECRET <");
    const std::string url = "file://" + folder.path().string();
    const std::string xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE doc [\n"
        "  <!ENTITY % remote SYSTEM \"" +
        url +
        "/secret.dtd\"> %remote;\n"
        "  <!ENTITY product \"Widget\">\n"
        "  <!ENTITY secret SYSTEM \"" +
        url +
        "/secret.txt\">\n]>\n"
        "<doc><p>Buy &product; now &amp; &#233;&#x263A; "
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

// Latin-1 text in UTF-16, with a byte order mark or without.
std::string Utf16(std::string_view latin1, bool bigEndian, bool bom) {
    std::string bytes = bom ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char c : latin1) bytes += bigEndian ? "\0"s + c : c + "\0"s;
    return bytes;
}

TEST(XmlDocumentTest, ReadsTheEncodingThatTheFileDeclares) {
    // The entity stays a code only when the file is read as the well-formed XML it is.
    const std::string doctype = "<!DOCTYPE d [<!ENTITY e 'x'>]><d>Caf\xE9&e;</d>";
    const std::string declared = "<?xml version='1.0' encoding='UTF-16'?>" + doctype;
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8 with BOM", "\xEF\xBB\xBF<!DOCTYPE d [<!ENTITY e 'x'>]><d>Caf\xC3\xA9&e;</d>"},
        {"declared Latin-1", "<?xml version='1.0' encoding='ISO-8859-1'?>" + doctype},
        {"UTF-16 LE with BOM", Utf16(declared, false, true)},
        {"UTF-16 BE without BOM", Utf16(declared, true, false)},
        {"UTF-16 LE without BOM or declaration", Utf16(doctype, false, false)},
    };
    for (const Case& c : cases) {
        const DocumentText document = Xml(c.bytes);
        EXPECT_EQ(Blocks(document), Lines{L"Caf\u00E9&e;"}) << c.name;
        EXPECT_EQ(test::BlockCodes(document), std::vector<std::string>{"S"}) << c.name;
    }
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
