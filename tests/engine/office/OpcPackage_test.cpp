#include "engine/office/OpcPackage.h"

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "support/office/ZipWriter.h"

namespace orv::engine {
namespace {

using orv::test::ZipBytes;

constexpr const char* kRootRelationships =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>
</Relationships>)";

TEST(OpcPackageTest, ResolvesTargetsToPartNames) {
    const struct {
        const char* source;
        const char* target;
        const char* part;
    } cases[] = {
        {"word/document.xml", "header1.xml", "word/header1.xml"},
        {"word/document.xml", "/word/footer2.xml", "word/footer2.xml"},
        {"ppt/slides/slide1.xml", "../notesSlides/notesSlide1.xml",
         "ppt/notesSlides/notesSlide1.xml"},
        {"xl/workbook.xml", "./worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
        {"", "word/document.xml", "word/document.xml"},
        {"word/document.xml", "../../../../etc/passwd", "etc/passwd"},
        {"word/document.xml", "media/my%20picture.png", "word/media/my picture.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolvePartName(c.source, c.target), c.part) << c.source << " + " << c.target;
}

TEST(OpcPackageTest, FindsTheMainPartAndTheRelationshipsOfAPart) {
    const std::string bytes = ZipBytes({
        {"_rels/.rels", kRootRelationships},
        {"word/document.xml", "<document/>"},
        {"word/_rels/document.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId7" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/header" Target="header1.xml"/>
<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink" Target="https://example.org/a" TargetMode="External"/>
</Relationships>)"},
    });
    OpcPackage package(bytes);
    EXPECT_EQ(package.MainPart(), "word/document.xml");
    const std::vector<Relationship> relationships = package.RelationshipsOf("word/document.xml");
    ASSERT_EQ(relationships.size(), 2u);
    EXPECT_EQ(relationships[0].type, "header");
    EXPECT_EQ(relationships[0].target, "word/header1.xml");
    EXPECT_TRUE(relationships[1].external);
    EXPECT_EQ(relationships[1].target, "https://example.org/a");
    EXPECT_EQ(package.RelationshipById("word/document.xml", "rId7")->target, "word/header1.xml");
    EXPECT_FALSE(package.RelationshipById("word/document.xml", "rId8"));
    EXPECT_TRUE(package.RelationshipsOf("word/header1.xml").empty());
}

TEST(OpcPackageTest, RefusesAPackageWithoutItsMainPartOrWithBrokenXml) {
    const std::wstring noMain =
        L"The package has no main document part: it is damaged, or not "
        L"an Office Open XML file";
    const struct {
        const char* what;
        std::string bytes;
        std::wstring failure;
    } cases[] = {
        {"no relationships", ZipBytes({{"word/document.xml", "<document/>"}}), noMain},
        {"main part missing", ZipBytes({{"_rels/.rels", kRootRelationships}}), noMain},
        {"broken relationships",
         ZipBytes({{"_rels/.rels", "<Relationships><Relationship"}, {"word/document.xml", "<d/>"}}),
         L"A part of the document is not well-formed XML"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::FailureOf([&] { OpcPackage package(c.bytes); }), c.failure) << c.what;
}

}  // namespace
}  // namespace orv::engine
