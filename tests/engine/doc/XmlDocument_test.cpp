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

TEST(XmlDocumentTest, InternalEntitiesAreExpandedAndNothingOutsideTheFileIsRead) {
    orv::test::TempFolder folder;
    // Were they read, the DTD would declare an entity and the entity would bring its text.
    folder.Write("secret.dtd", "<!ENTITY leak \"SECRET\">");
    folder.Write("secret.txt", "SECRET");
    std::string where = folder.path().generic_string();
    if (where.front() != '/') where.insert(0, "/");  // a drive letter: file:///C:/...
    const std::string url = "file://" + where;
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
        "<![CDATA[<b>raw</b>]]> &secret;&leak;<!-- no --><?pi no?></p></doc>";
    const DocumentText document = Xml(xml);
    EXPECT_EQ(Blocks(document), Lines{L"Buy Widget now & \u00E9\u263A <b>raw</b>"});
    EXPECT_EQ(document.notes,
              (Lines{L"The external entity &secret; is not read; it was counted as empty.",
                     L"The entity &leak; is not declared in the file (its DTD is not read); it "
                     L"was counted as empty."}));
}

TEST(XmlDocumentTest, EntitiesAreExpandedWhereverTheyStand) {
    const std::string doctype =
        "<!DOCTYPE guide [<!ENTITY co \"ACME Corp\"><!ENTITY full \"&co; Ltd\">"
        "<!ENTITY bold \"<b>bold</b>\">]>";
    const struct {
        const char* name;
        std::string body;
        Lines blocks;
    } cases[] = {
        {"text",
         "<p>Welcome to the &co; user guide.</p>",
         {L"Welcome to the ACME Corp user guide."}},
        {"within an entity", "<p>By &full;.</p>", {L"By ACME Corp Ltd."}},
        {"with markup", "<p>A &bold; word.</p>", {L"A <b>bold</b> word."}},
        {"in a preserved element",
         "<p xml:space=\"preserve\">&co;  &co;</p>",
         {L"ACME Corp  ACME Corp"}},
    };
    const DocumentSettings settings = test::SettingsOf(L"[Inline]\nb\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DocumentText document = Xml(doctype + "<guide>" + c.body + "</guide>", settings);
        EXPECT_EQ(Blocks(document), c.blocks);
        EXPECT_TRUE(document.notes.empty());
    }
}

TEST(XmlDocumentTest, EntitiesOfAnExternalDtdCountAsTheirHtmlCharacterOrAsNothing) {
    // As DocBook files name theirs; it is never fetched.
    const std::string xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE article PUBLIC \"-//OASIS//DTD DocBook XML "
        "V4.5//EN\" \"http://www.oasis-open.org/docbook/xml/4.5/docbookx.dtd\">\n"
        "<article><para>Caf&eacute; at&nbsp;nine&hellip; &product;&eacute;</para></article>";
    const DocumentText document = Xml(xml);
    EXPECT_EQ(Blocks(document), Lines{L"Caf\u00E9 at\u00A0nine\u2026 \u00E9"});
    const std::wstring declared =
        L"; is not declared in the file (its DTD is not read); it was counted as ";
    EXPECT_EQ(document.notes,
              (Lines{L"The entity &eacute" + declared + L"the HTML character of that name.",
                     L"The entity &nbsp" + declared + L"the HTML character of that name.",
                     L"The entity &hellip" + declared + L"the HTML character of that name.",
                     L"The entity &product" + declared + L"empty."}));
    EXPECT_EQ(document.taggingErrors, 0) << "the file is read as the well-formed XML it is";
}

const std::string kBillionLaughs =
    "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n <!ENTITY lol \"lol\">\n"
    " <!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n"
    " <!ENTITY lol2 \"&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;\">\n"
    " <!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">\n"
    " <!ENTITY lol4 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">\n"
    " <!ENTITY lol5 \"&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;\">\n"
    " <!ENTITY lol6 \"&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;\">\n"
    " <!ENTITY lol7 \"&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;\">\n"
    " <!ENTITY lol8 \"&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;\">\n"
    " <!ENTITY lol9 \"&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;\">\n"
    "]>\n";

TEST(XmlDocumentTest, AnEntityBombIsRefusedForItsEntityExpansion) {
    // Few bytes, each expanding to many: a tree of entities, or one large entity used often.
    const std::string large = "<!DOCTYPE d [<!ENTITY a \"" + std::string(4000, 'a') + "\">]>";
    std::string often;
    for (int i = 0; i < 4000; ++i) often += "&a;";
    const struct {
        const char* name;
        DocumentFormat format;
        std::string bytes;
    } cases[] = {
        {"billion laughs", DocumentFormat::Xml, kBillionLaughs + "<lolz>&lol9;</lolz>"},
        {"billion laughs in damaged markup", DocumentFormat::Xml,
         kBillionLaughs + "<lolz><p>&lol9;</lolz>"},
        {"billion laughs deep down", DocumentFormat::Xml,
         kBillionLaughs + "<lolz>" + std::string(300, ' ') + "<a><a><a>&lol9;</a></a></a></lolz>"},
        {"quadratic blowup", DocumentFormat::Xml, large + "<d>" + often + "</d>"},
        {"billion laughs in XLIFF", DocumentFormat::Xliff,
         kBillionLaughs + "<xliff version=\"1.2\"><file><body><trans-unit id=\"1\"><source>"
                          "&lol9;</source></trans-unit></body></file></xliff>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(test::FailureOf([&] { test::Read(c.bytes, c.format); }),
                  L"The document is refused for its entity expansion, which goes beyond the "
                  L"limits of a safe reading");
    }
}

TEST(XmlDocumentTest, TheTextOfADocumentTypeDeclarationIsNeverCounted) {
    const std::string subset =
        "<!DOCTYPE manual [\n<!ENTITY co \"ACME Corp\">\n<!ELEMENT manual - - (para+)>\n"
        "<!-- a ] and a > -->\n<!ATTLIST para id CDATA #IMPLIED '>]'>\n]>\n";
    const struct {
        const char* name;
        DocumentFormat format;
        std::string bytes;
        Lines blocks;
    } cases[] = {
        {"well-formed XML",
         DocumentFormat::Xml,
         subset + "<manual><para>One.</para></manual>",
         {L"One."}},
        {"SGML read by the lenient parser",
         DocumentFormat::Xml,
         "<?xml version=\"1.0\"?>" + subset + "<manual><para>One.<para>Two.</manual>",
         {L"One.", L"Two."}},
        {"HTML", DocumentFormat::Html, subset + "<p>One.</p><p>Two.</p>", {L"One.", L"Two."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Blocks(test::Read(c.bytes, c.format)), c.blocks);
    }
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
    // The entity is expanded only when the file is read as the well-formed XML it is.
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
        EXPECT_EQ(Blocks(document), Lines{L"Caf\u00E9x"}) << c.name;
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

TEST(XmlDocumentTest, AnElementThatHoldsOnlyBase64IsNoText) {
    const std::string line =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA";
    const std::string xml = "<doc><p>Real text.</p><image type=\"png\">\n  " + line + "\n  " +
                            line + "\n  YQ==\n</image><data><![CDATA[" + line +
                            "]]></data><p>The code " + line.substr(0, 20) +
                            " stays.</p><p>Mixed <b>" + line + "</b></p></doc>";
    EXPECT_EQ(Blocks(Xml(xml)),
              (Lines{L"Real text.", L"The code iVBORw0KGgoAAAANSUhE stays.", L"Mixed"}));
}

}  // namespace
}  // namespace orv::engine
