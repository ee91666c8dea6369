#include <gtest/gtest.h>

#include "DocumentTesting.h"

namespace orv::engine {
namespace {

using test::Blocks;
using test::Lines;

DocumentText Sgml(const std::string& bytes, const DocumentSettings& settings = {}) {
    return test::Read(bytes, DocumentFormat::Xml, settings);
}

// Omitted end tags: only the lenient parser reads these, and it knows no declared entity.
std::string Manual(const std::string& subset, const std::string& body) {
    return "<!DOCTYPE manual [\n<!ELEMENT manual - - (para+)>\n" + subset + "\n]>\n<MANUAL>" +
           body + "</MANUAL>\n";
}

TEST(SgmlDocumentTest, TheEntitiesOfTheInternalSubsetAreExpanded) {
    const struct {
        const char* name;
        std::string subset;
        std::string body;
        Lines blocks;
    } cases[] = {
        {"text",
         "<!ENTITY co \"ACME Corp\">",
         "<PARA>Buy &co; now.<PARA>Two.",
         {L"Buy ACME Corp now.", L"Two."}},
        {"within an entity",
         "<!ENTITY co 'ACME'><!ENTITY full \"&co; Ltd\">",
         "<PARA>By &full;.",
         {L"By ACME Ltd."}},
        {"markup",
         "<!ENTITY co \"<emph>ACME</emph> Corp\">",
         "<PARA>Buy &co; now.",
         {L"Buy <emph>ACME</emph> Corp now."}},
        {"a reference that SGML ends without a semicolon",
         "<!ENTITY co \"ACME\">",
         "<PARA>&co, then &co here.",
         {L"ACME, then ACME here."}},
        {"character data, taken as it is",
         "<!ENTITY op CDATA \"<x> & y\">",
         "<PARA>See &op; here.",
         {L"See <x> & y here."}},
        {"characters by number",
         "<!ENTITY dash \"&#8212;\">",
         "<PARA>A&dash;B &#233;",
         {L"A\u2014B \u00E9"}},
        {"after comments that hold quotes and '>'",
         "<!-- it's > \"odd\" ] -->\n<!ENTITY co \"ACME\" -- SGML's own comment -->\n"
         "<!ATTLIST para id CDATA #IMPLIED -- ' -->",
         "<PARA>Buy &co;.",
         {L"Buy ACME."}},
        {"in a marked section",
         "<![ INCLUDE [ <!ENTITY co \"ACME\"> ]]>",
         "<PARA>Buy &co;.",
         {L"Buy ACME."}},
        {"part of an element, which the file ends",
         "<!ENTITY start \"<emph>\">",
         "<PARA>A &start;big</EMPH> deal.",
         {L"A <emph>big</emph> deal."}},
        {"not a parameter entity", "<!ENTITY % co \"ACME\">", "<PARA>Buy %co;.", {L"Buy %co;."}},
    };
    const DocumentSettings settings = test::SettingsOf(L"[Inline]\nemph\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DocumentText document = Sgml(Manual(c.subset, c.body), settings);
        EXPECT_EQ(Blocks(document), c.blocks);
        EXPECT_TRUE(document.notes.empty());
    }
}

TEST(SgmlDocumentTest, AnEntityTheFileDoesNotDeclareCountsAsItsHtmlCharacterOrAsNothing) {
    // Declared in a DTD that is never read, with or without an internal subset.
    const std::string body =
        "<PARA>Caf&eacute; &product; AT&T &amp; &apos;x&apos; &product;<!-- &gone; -->";
    const Lines notes{
        L"The entity &eacute; is not declared in the file (its DTD is not read); "
        L"it was counted as the HTML character of that name.",
        L"The entity &product; is not declared in the file (its DTD is not read); "
        L"it was counted as empty."};
    for (const std::string& sgml :
         {"<!DOCTYPE manual PUBLIC \"-//Acme//DTD Manual//EN\">\n<MANUAL>" + body + "</MANUAL>",
          Manual("<!ENTITY co \"ACME\">", body)}) {
        const DocumentText document = Sgml(sgml);
        EXPECT_EQ(Blocks(document), Lines{L"Caf\u00E9 AT&T & 'x'"});
        EXPECT_EQ(document.notes, notes);
    }
}

TEST(SgmlDocumentTest, AnExternalEntityCountsAsNothingWithANote) {
    const DocumentText document =
        Sgml(Manual("<!ENTITY chap1 SYSTEM \"chap1.sgml\"><!ENTITY logo PUBLIC \"-//Acme//Logo\">",
                    "<PARA>Start.&chap1;<PARA>End &logo;&chap1;."));
    EXPECT_EQ(Blocks(document), (Lines{L"Start.", L"End ."}));
    EXPECT_EQ(document.notes,
              (Lines{L"The external entity &chap1; is not read; it was counted as empty.",
                     L"The external entity &logo; is not read; it was counted as empty."}));
}

TEST(SgmlDocumentTest, NoDeclarationOrCommentOfTheSubsetIsEverText) {
    // As the DocBook man page template writes it.
    const std::string subset =
        "<!-- Process this file with a converter: `convert manpage.sgml > manpage.1'.\n"
        "     A typical entry in a Makefile is:\n\nmanpage.1: manpage.sgml\n\tconvert $< > $@\n"
        "  -->\n"
        "<!-- Written by <email>someone@example.org</email>. -->\n"
        "  <!ENTITY manfirstname \"<firstname>FIRSTNAME</firstname>\">\n"
        "  <!-- SECTION should be 1-8, maybe with subsection. -->\n"
        "  <!ENTITY mansection   \"<manvolnum>SECTION</manvolnum>\">\n"
        "  <!ENTITY manpackage   \"PACKAGE\">\n";
    const std::string sgml = "<!doctype refentry PUBLIC \"-//OASIS//DTD DocBook V4.1//EN\" [\n" +
                             subset +
                             "]>\n<refentry><refentryinfo><author>&manfirstname;</author>"
                             "</refentryinfo><refmeta>&mansection;</refmeta><refnamediv>"
                             "<refname>&manpackage;</refname><refpurpose>program to do "
                             "something</refpurpose></refnamediv><para>It's <command>"
                             "&manpackage;</command> here.<para>Next</refentry>\n";
    EXPECT_EQ(Blocks(Sgml(sgml, test::SettingsOf(L"[Inline]\ncommand\n"))),
              (Lines{L"FIRSTNAME", L"SECTION", L"PACKAGE", L"program to do something",
                     L"It's <command>PACKAGE</command> here.", L"Next"}));
}

TEST(SgmlDocumentTest, TheFileIsReadWhateverItsEncodingAndItsControlCharacters) {
    // Latin-1 bytes, which are no UTF-8, and a carriage return and a form feed that XML
    // cannot hold, go through the expansion unchanged. (Too few letters to detect Latin-1 by:
    // it is given.)
    const std::string sgml = Manual("<!ENTITY caf \"Caf\xE9\">", "<PARA>&caf;\r\n\x0C ol\xE9.");
    DocumentSettings latin1;
    latin1.encoding = "ISO-8859-1";
    EXPECT_EQ(Blocks(Sgml(sgml, latin1)), Lines{L"Caf\u00E9 ol\u00E9."});
}

TEST(SgmlDocumentTest, AnEntityBombIsRefusedWithinTheLimitsOfXml) {
    // The SGML element declaration stops the XML parser before it meets the entities.
    std::string bomb = "<!ENTITY lol \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        bomb += "<!ENTITY lol" + std::to_string(level) + " \"";
        const std::string previous = level == 1 ? "lol" : "lol" + std::to_string(level - 1);
        for (int i = 0; i < 10; ++i) bomb += "&" + previous + ";";
        bomb += "\">";
    }
    const std::string large = "<!ENTITY a \"" + std::string(4000, 'a') + "\">";
    std::string often;
    for (int i = 0; i < 4000; ++i) often += "&a;";
    const std::string partial = "<!ENTITY a \"<b>" + std::string(4000, 'a') + "\">";
    for (const std::string& sgml : {Manual(bomb, "<PARA>&lol9;"), Manual(large, "<PARA>" + often),
                                    Manual(partial, "<PARA>" + often)}) {
        EXPECT_EQ(test::FailureOf([&] { Sgml(sgml); }),
                  L"The document is refused for its entity expansion, which goes beyond the "
                  L"limits of a safe reading");
    }
}

TEST(SgmlDocumentTest, ADeclarationNeverClosedIsRefusedRatherThanReadAsNothing) {
    const struct {
        const char* name;
        DocumentFormat format;
        std::string bytes;
    } cases[] = {
        {"SGML", DocumentFormat::Xml,
         "<!DOCTYPE manual [ <!ENTITY co \"ACME\">\n<MANUAL><PARA>One.<PARA>Two.</MANUAL>"},
        {"a comment of the subset never closed", DocumentFormat::Xml,
         "<!DOCTYPE manual [ <!-- no end ]>\n<MANUAL><PARA>One.<PARA>Two.</MANUAL>"},
        {"HTML", DocumentFormat::Html, "<!DOCTYPE html [ <!ENTITY co \"ACME\">\n<p>One.</p>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(test::FailureOf([&] { test::Read(c.bytes, c.format); }),
                  L"The document type declaration is never closed: its internal subset runs to "
                  L"the end of the file");
    }
}

TEST(SgmlDocumentTest, MarkupNeverClosedThatWouldHideTheRestIsRefusedInWords) {
    const std::wstring lost = L" is never closed, and the rest of the file would be lost in it";
    const struct {
        const char* name;
        DocumentFormat format;
        std::string bytes;
        std::wstring failure;
    } cases[] = {
        {"a comment", DocumentFormat::Xml, "<d><!-- no end <p>Text one.</p><p>Two.</p></d>",
         L"The file cannot be read as markup: a comment" + lost},
        {"a comment in HTML", DocumentFormat::Html, "<p>One.</p><!-- no end <p>Two.</p>",
         L"The file cannot be read as markup: a comment" + lost},
        {"a CDATA section", DocumentFormat::Xml, "<d>One.<![CDATA[ no end <p>Two.</p></d>",
         L"The file cannot be read as markup: a CDATA section" + lost},
        {"a quoted value", DocumentFormat::Xml, "<d a=\"no end><p>Text one.</p></d>",
         L"The file cannot be read as markup: a tag" + lost},
        {"a comment at the end, hiding no tag", DocumentFormat::Xml,
         "<d><p>One.</p></d><!-- no end", L"no error"},
        {"a stray quote in text", DocumentFormat::Html, "<p>It's 5 o'clock.</p><p>Two.</p>",
         L"no error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(test::FailureOf([&] { test::Read(c.bytes, c.format); }), c.failure);
    }
}

TEST(SgmlDocumentTest, ALargeFileKeepsAllItsTextAroundTheEntities) {
    // More text between two references than the XML parser takes in one piece.
    std::string paragraphs;
    for (int i = 0; i < 200000; ++i)
        paragraphs += "<PARA>Paragraph]]> of ten words or so, to fill it up.\n";
    const DocumentText document = Sgml(
        Manual("<!ENTITY co \"ACME\">", "<PARA>&co; first." + paragraphs + "<PARA>&co; last."));
    ASSERT_EQ(document.blocks.size(), 200002u);
    EXPECT_EQ(test::Render(document.blocks.front().text), L"ACME first.");
    EXPECT_EQ(test::Render(document.blocks[1].text),
              L"Paragraph]]> of ten words or so, to fill it up.");
    EXPECT_EQ(test::Render(document.blocks.back().text), L"ACME last.");
}

}  // namespace
}  // namespace orv::engine
