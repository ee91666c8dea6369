#include <gtest/gtest.h>

#include "DocumentTesting.h"

namespace orv::engine {
namespace {

using test::Blocks;
using test::Lines;

DocumentText Xliff(const std::string& bytes) {
    return test::Read(bytes, DocumentFormat::Xliff);
}

std::vector<bool> SegmentFlags(const DocumentText& document) {
    std::vector<bool> flags;
    for (const TextBlock& block : document.blocks) flags.push_back(block.isSegment);
    return flags;
}

TEST(XliffDocumentTest, ReadsTheSourcesOfVersionOnePointTwoWithTheirCodes) {
    const DocumentText document = Xliff(R"(<?xml version="1.0" encoding="UTF-8"?>
<xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2">
 <file original="ui.rc" source-language="en" target-language="de" datatype="plaintext">
  <header><note>Not text</note></header>
  <body>
   <trans-unit id="1">
    <source>Click <g id="1">here</g> to <x id="2"/>continue.</source>
    <target>Klicken Sie hier.</target>
    <alt-trans><source>Other source</source></alt-trans>
   </trans-unit>
   <trans-unit id="2">
    <source><bpt id="1">&lt;b&gt;</bpt>Bold<ept id="1">&lt;/b&gt;</ept> and <bx id="2" rid="7"/>span<ex id="3" rid="7"/> with <ph id="4">&lt;br/&gt;</ph><it id="5" pos="open">&lt;i&gt;</it>end</source>
   </trans-unit>
   <trans-unit id="3" translate="no"><source>Not for translation</source></trans-unit>
   <group translate="no"><trans-unit id="4"><source>Nor this</source></trans-unit></group>
   <group><trans-unit id="5"><source>A <mrk mtype="term">term</mrk> and <mrk mtype="protected">Acme&#8482;</mrk>.</source></trans-unit></group>
   <bin-unit id="6" mime-type="image/png"><bin-source><external-file href="a.png"/></bin-source></bin-unit>
  </body>
 </file>
</xliff>)");
    EXPECT_EQ(Blocks(document),
              (Lines{L"Click <g id=\"1\">here</g> to <x id=\"2\"/>continue.",
                     L"<b>Bold</b> and <bx id=\"2\" rid=\"7\"/>span<ex id=\"3\" rid=\"7\"/> with "
                     L"<br/><i>end",
                     L"A term and Acme\u2122."}));
    EXPECT_EQ(test::BlockCodes(document),
              (std::vector<std::string>{"B1 E1 S", "B1 E1 B2 E2 S I", "S"}));
    EXPECT_EQ(SegmentFlags(document), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(document.taggingErrors, 0);
}

TEST(XliffDocumentTest, TheSegmentsOfASegSourceAreTakenWhole) {
    const DocumentText document = Xliff(R"(<xliff version="1.2">
<file original="x" source-language="en" datatype="plaintext"><body>
 <trans-unit id="1">
  <source>First. Second one.</source>
  <seg-source><mrk mtype="seg" mid="1">First.</mrk> <mrk mtype="seg" mid="2">Second <g id="1">one</g>.</mrk></seg-source>
 </trans-unit>
</body></file></xliff>)");
    EXPECT_EQ(Blocks(document), (Lines{L"First.", L"Second <g id=\"1\">one</g>."}));
    EXPECT_EQ(SegmentFlags(document), (std::vector<bool>{true, true}));
}

TEST(XliffDocumentTest, ReadsTheSegmentsOfVersionTwoWithTheirOriginalData) {
    const DocumentText document = Xliff(R"(<?xml version="1.0"?>
<xliff xmlns="urn:oasis:names:tc:xliff:document:2.0" version="2.0" srcLang="en" trgLang="fr">
 <file id="f1">
  <unit id="u1">
   <originalData>
    <data id="d1">&lt;b&gt;</data><data id="d2">&lt;/b&gt;</data><data id="d3">&lt;br/&gt;</data>
   </originalData>
   <segment><source>Press <pc id="1" dataRefStart="d1" dataRefEnd="d2">Start</pc>.<ph id="2" dataRef="d3"/></source>
    <target>Appuyez.</target></segment>
   <ignorable><source> </source></ignorable>
   <segment><source>Then <sc id="3"/>wait<cp hex="0009"/>here.</source></segment>
   <segment><source>Done<ec startRef="3"/> <mrk id="m1" type="term">now</mrk> <mrk id="m2" translate="no">v2</mrk><sm id="m3"/>.</source></segment>
  </unit>
  <unit id="u2" translate="no"><segment><source>Skipped</source></segment></unit>
  <group id="g1"><unit id="u3"><segment><source><sc id="1" isolated="yes"/>Lone <pc id="2">pair</pc></source></segment></unit></group>
 </file>
</xliff>)");
    EXPECT_EQ(Blocks(document),
              (Lines{L"Press <b>Start</b>.<br/>", L"Then <sc id=\"3\"/>wait\there.",
                     L"Done<ec startRef=\"3\"/> now v2.",
                     L"<sc id=\"1\" isolated=\"yes\"/>Lone "
                     L"<pc id=\"2\">pair</pc>"}));
    EXPECT_EQ(test::BlockCodes(document),
              (std::vector<std::string>{"B1 E1 S", "B2", "E2 S", "I B1 E1"}));
    EXPECT_EQ(SegmentFlags(document), (std::vector<bool>{true, true, true, true}));
    // A pair may begin in one segment of a unit and end in another.
    EXPECT_EQ(document.taggingErrors, 0);
}

TEST(XliffDocumentTest, TheVersionIsTakenFromTheAttributeWithoutANamespace) {
    const DocumentText two =
        Xliff(R"(<xliff version="2.1"><file><unit><segment><source>A <ph id="1"/> B</source>)"
              R"(</segment></unit></file></xliff>)");
    EXPECT_EQ(SegmentFlags(two), std::vector<bool>{true});
    EXPECT_EQ(Blocks(two), Lines{L"A <ph id=\"1\"/> B"});
    const DocumentText one = Xliff(R"(<xliff version="1.1"><file><body><trans-unit id="1">)"
                                   R"(<source>A <ph id="1">{0}</ph> B</source>)"
                                   R"(</trans-unit></body></file></xliff>)");
    EXPECT_EQ(SegmentFlags(one), std::vector<bool>{false});
    EXPECT_EQ(Blocks(one), Lines{L"A {0} B"});
}

TEST(XliffDocumentTest, ASourceOfNothingButPlaceholdersIsKeptAsTheirText) {
    const DocumentText document = Xliff(
        R"(<xliff version="1.2"><file><body>)"
        R"(<trans-unit id="1"><source><ph id="1">%s</ph></source></trans-unit>)"
        R"(<trans-unit id="2"><source> <g id="1"><ph id="2">{0}</ph></g> </source></trans-unit>)"
        R"(<trans-unit id="3"><source><x id="1"/> <ph id="2">&lt;br/&gt;</ph></source></trans-unit>)"
        R"(</body></file></xliff>)");
    ASSERT_EQ(document.blocks.size(), 2u);
    EXPECT_EQ(document.blocks[0].text, (Segment{L"%s", {}}));
    EXPECT_EQ(document.blocks[1].text.text, L"\uFFFC{0}\uFFFC");
    EXPECT_EQ(document.blocks[1].text.codes.size(), 2u);
}

TEST(XliffDocumentTest, ACodeWithoutItsDataReadsAsThePlaceholderItsEquivalentGives) {
    const DocumentText two = Xliff(
        R"(<xliff xmlns="urn:oasis:names:tc:xliff:document:2.0" version="2.0"><file><unit>)"
        R"(<originalData><data id="d1">{0}</data></originalData><segment><source>)"
        R"(<ph id="1" equiv="%s"/> <ph id="2" equiv="break"/> <ph id="3" equiv="%s" dataRef="d1"/>)"
        R"( copied</source></segment></unit></file></xliff>)");
    EXPECT_EQ(Blocks(two), Lines{L"%s <ph id=\"2\" equiv=\"break\"/> {0} copied"});
    const DocumentText one =
        Xliff(R"(<xliff version="1.2"><file><body><trans-unit id="1"><source>)"
              R"(<x id="1" equiv-text="%1$s"/> and <x id="2" equiv-text="line break"/></source>)"
              R"(</trans-unit></body></file></xliff>)");
    EXPECT_EQ(Blocks(one), Lines{L"%1$s and <x id=\"2\" equiv-text=\"line break\"/>"});
}

TEST(XliffDocumentTest, CountsTheFaultsOfPairedCodesUnitByUnit) {
    struct Case {
        const char* source;
        int64_t faults;
    };
    const Case cases[] = {
        {R"(<bpt id="1">[</bpt>a<ept id="1">]</ept>)", 0},
        {R"(a<ept id="1">]</ept>)", 1},                                 // an end without a begin
        {R"(<bx id="1"/>a)", 1},                                        // a begin never ended
        {R"(<bx id="1"/><bx id="2"/>a<ex rid="1"/><ex rid="2"/>)", 1},  // crossed
        {R"(<bpt id="1">[</bpt><bpt id="2">(</bpt>a<ept id="2">)</ept>)", 1},
        {R"(<g id="1">a<x id="2"/></g><it id="3" pos="close">]</it>)", 0},
    };
    int64_t all = 0;
    std::string units;
    for (const Case& c : cases) {
        const std::string unit =
            std::string(R"(<trans-unit id="u"><source>)") + c.source + "</source></trans-unit>";
        EXPECT_EQ(Xliff("<xliff version=\"1.2\"><file><body>" + unit + "</body></file></xliff>")
                      .taggingErrors,
                  c.faults)
            << c.source;
        all += c.faults;
        units += unit;
    }
    // A unit's faults are its own: the file's are their sum.
    EXPECT_EQ(Xliff("<xliff version=\"1.2\"><file><body>" + units + "</body></file></xliff>")
                  .taggingErrors,
              all);
}

TEST(XliffDocumentTest, AFileThatIsNoXliffIsRefusedInWords) {
    struct Case {
        std::string bytes;
        std::wstring reason;
    };
    const Case cases[] = {
        {"", L"The XLIFF file is not well-formed XML"},
        {"<xliff version=\"1.2\"><file>", L"The XLIFF file is not well-formed XML"},
        {"<xliff>&undeclared;</xliff>", L"The XLIFF file is not well-formed XML"},
        {"<tmx version=\"1.4\"/>",
         L"The file is not an XLIFF document (its root element is not xliff)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::FailureOf([&] { Xliff(c.bytes); }), c.reason) << c.bytes;
}

TEST(XliffDocumentTest, EntitiesAreExpandedAndThoseOfAnUnreadDtdCountAsHtmlOrNothing) {
    const DocumentText document = Xliff(
        "<!DOCTYPE xliff SYSTEM \"xliff.dtd\" [<!ENTITY app \"Widget\">]>"
        "<xliff version=\"1.2\"><file><body><trans-unit id=\"1\"><source>Open &app;&nbsp;"
        "caf&eacute; <g id=\"1\">&app;&custom;</g></source></trans-unit></body></file></xliff>");
    EXPECT_EQ(Blocks(document), Lines{L"Open Widget\u00A0caf\u00E9 <g id=\"1\">Widget</g>"});
    ASSERT_EQ(document.notes.size(), 3u);
    EXPECT_EQ(document.notes[2],
              L"The entity &custom; is not declared in the file (its DTD is not read); it was "
              L"counted as empty.");
}

TEST(XliffDocumentTest, TheHeaderAndTheUnitOfAPoHeaderAreNeverText) {
    const DocumentText document = Xliff(R"(<?xml version="1.0" encoding="UTF-8"?>
<xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2">
 <file original="app.po" source-language="en" datatype="po">
  <header>
   <tool tool-id="conv" tool-name="Converter"/><note>Converted from the PO file</note>
   <skl><internal-file>Skeleton text</internal-file></skl>
   <phase-group><phase phase-name="p1" process-name="translation"><note>Phase</note></phase>
   </phase-group>
   <trans-unit id="h"><source>Not in the body</source></trans-unit>
  </header>
  <body>
   <trans-unit id="hdr" restype="x-gettext-domain-header" approved="no"><source>Project-Id-Version: app 1.0
Content-Type: text/plain; charset=UTF-8
</source></trans-unit>
   <trans-unit id="1"><source>Open the file.</source></trans-unit>
  </body>
 </file>
</xliff>)");
    EXPECT_EQ(Blocks(document), Lines{L"Open the file."});
}

}  // namespace
}  // namespace orv::engine
