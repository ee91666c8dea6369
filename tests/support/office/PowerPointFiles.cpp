#include "support/office/PowerPointFiles.h"

namespace orv::test {
namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kNamespaces =
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\""
    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"";
constexpr std::string_view kRelationshipType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr std::string_view kContentType = "application/vnd.openxmlformats-officedocument.";

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

struct Link {
    std::string id, type, target;
};

std::string Relationships(const std::vector<Link>& links) {
    std::string xml(kXmlDeclaration);
    xml += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (const Link& link : links)
        xml += "<Relationship Id=\"" + link.id + "\" Type=\"" + std::string(kRelationshipType) +
               link.type + "\" Target=\"" + link.target + "\"/>";
    return xml + "</Relationships>";
}

std::string ShapeTree(std::string_view shapes) {
    return "<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/>"
           "</p:nvGrpSpPr><p:grpSpPr/>" +
           std::string(shapes) + "</p:spTree></p:cSld>";
}

std::string Part(std::string_view root, std::string_view attributes, std::string_view content) {
    return std::string(kXmlDeclaration) + "<p:" + std::string(root) + std::string(kNamespaces) +
           std::string(attributes) + ">" + std::string(content) + "</p:" + std::string(root) + ">";
}

constexpr std::string_view kColourMap =
    "<p:clrMap bg1=\"lt1\" tx1=\"dk1\" bg2=\"lt2\" tx2=\"dk2\" accent1=\"accent1\" "
    "accent2=\"accent2\" accent3=\"accent3\" accent4=\"accent4\" accent5=\"accent5\" "
    "accent6=\"accent6\" hlink=\"hlink\" folHlink=\"folHlink\"/>";

std::string SlideImage() {
    return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Slide Image\"/><p:cNvSpPr/><p:nvPr>"
           "<p:ph type=\"sldImg\"/></p:nvPr></p:nvSpPr><p:spPr/></p:sp>";
}

std::string SlideNumber(int number) {
    return Shape({ParagraphOf("<a:fld id=\"{0C5D5C4E-0001-4000-8000-000000000001}\" "
                              "type=\"slidenum\"><a:rPr lang=\"en-US\"/><a:t>" +
                              std::to_string(number) + "</a:t></a:fld>")},
                 "sldNum");
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The same part in the strict namespaces, which differ from the transitional ones in their
// names only.
std::string Strict(std::string xml) {
    ReplaceAll(xml, "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
               "http://purl.oclc.org/ooxml/officeDocument/relationships");
    ReplaceAll(xml, "http://schemas.openxmlformats.org/presentationml/2006/main",
               "http://purl.oclc.org/ooxml/presentationml/main");
    ReplaceAll(xml, "http://schemas.openxmlformats.org/drawingml/2006/main",
               "http://purl.oclc.org/ooxml/drawingml/main");
    return xml;
}

}  // namespace

std::string TextRun(std::string_view text, std::string_view properties,
                    std::string_view propertiesContent) {
    std::string run = "<a:r><a:rPr lang=\"en-US\" dirty=\"0\"";
    if (!properties.empty()) run += " " + std::string(properties);
    run += propertiesContent.empty() ? std::string("/>")
                                     : ">" + std::string(propertiesContent) + "</a:rPr>";
    return run + "<a:t>" + Escaped(text) + "</a:t></a:r>";
}

std::string ParagraphOf(std::string_view content) {
    return "<a:p>" + std::string(content) + "<a:endParaRPr lang=\"en-US\" dirty=\"0\"/></a:p>";
}

std::string Paragraph(std::string_view text) {
    return ParagraphOf(TextRun(text));
}

std::string Shape(const std::vector<std::string>& paragraphs, std::string_view placeholder) {
    std::string shape = "<p:sp><p:nvSpPr><p:cNvPr id=\"3\" name=\"Shape\"/>";
    if (placeholder.empty())
        shape += "<p:cNvSpPr txBox=\"1\"/><p:nvPr/>";
    else
        shape += "<p:cNvSpPr><a:spLocks noGrp=\"1\"/></p:cNvSpPr><p:nvPr><p:ph type=\"" +
                 std::string(placeholder) + "\" idx=\"1\"/></p:nvPr>";
    shape += "</p:nvSpPr><p:spPr/><p:txBody><a:bodyPr/><a:lstStyle/>";
    for (const std::string& paragraph : paragraphs) shape += paragraph;
    if (paragraphs.empty()) shape += ParagraphOf("");
    return shape + "</p:txBody></p:sp>";
}

std::string Table(const std::vector<std::vector<std::string>>& rows) {
    std::string table =
        "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"Table\"/>"
        "<p:cNvGraphicFramePr><a:graphicFrameLocks noGrp=\"1\"/></p:cNvGraphicFramePr><p:nvPr/>"
        "</p:nvGraphicFramePr><p:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"8000000\" "
        "cy=\"1000000\"/></p:xfrm><a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/drawingml/2006/table\"><a:tbl>"
        "<a:tblPr firstRow=\"1\"/><a:tblGrid>";
    const std::size_t columns = rows.empty() ? 0 : rows.front().size();
    for (std::size_t i = 0; i < columns; ++i) table += "<a:gridCol w=\"2000000\"/>";
    table += "</a:tblGrid>";
    for (const std::vector<std::string>& row : rows) {
        table += "<a:tr h=\"370840\">";
        for (const std::string& cell : row)
            table +=
                "<a:tc><a:txBody><a:bodyPr/><a:lstStyle/>" + cell + "</a:txBody><a:tcPr/></a:tc>";
        table += "</a:tr>";
    }
    return table + "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
}

std::string Group(const std::vector<std::string>& shapes) {
    std::string group =
        "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"5\" name=\"Group\"/><p:cNvGrpSpPr/><p:nvPr/>"
        "</p:nvGrpSpPr><p:grpSpPr/>";
    for (const std::string& shape : shapes) group += shape;
    return group + "</p:grpSp>";
}

std::string Connector() {
    return "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"6\" name=\"Connector\"/><p:cNvCxnSpPr/>"
           "<p:nvPr/></p:nvCxnSpPr><p:spPr><a:prstGeom prst=\"line\"><a:avLst/></a:prstGeom>"
           "</p:spPr></p:cxnSp>";
}

std::vector<ZipEntry> PresentationParts(const PresentationFile& file) {
    std::vector<ZipEntry> parts;
    std::string types =
        std::string(kXmlDeclaration) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    const auto declare = [&](const std::string& part, std::string_view type) {
        types += "<Override PartName=\"/" + part + "\" ContentType=\"" + std::string(kContentType) +
                 std::string(type) + "\"/>";
    };
    declare("ppt/presentation.xml", "presentationml.presentation.main+xml");
    declare("ppt/slideMasters/slideMaster1.xml", "presentationml.slideMaster+xml");
    declare("ppt/slideLayouts/slideLayout1.xml", "presentationml.slideLayout+xml");
    declare("ppt/notesMasters/notesMaster1.xml", "presentationml.notesMaster+xml");
    declare("ppt/theme/theme1.xml", "theme+xml");

    std::vector<Link> presentationLinks = {
        {"rId1", "slideMaster", "slideMasters/slideMaster1.xml"},
        {"rId2", "notesMaster", "notesMasters/notesMaster1.xml"},
        {"rId3", "theme", "theme/theme1.xml"},
    };
    std::string slideIds;
    for (std::size_t i = 0; i < file.slides.size(); ++i) {
        const PresentationSlide& slide = file.slides[i];
        const std::string number =
            std::to_string(slide.partNumber ? slide.partNumber : static_cast<int>(i) + 1);
        const std::string id = "rId" + std::to_string(10 + i);
        const std::string name = "ppt/slides/slide" + number + ".xml";
        presentationLinks.push_back({id, "slide", "slides/slide" + number + ".xml"});
        slideIds += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"" + id + "\"/>";
        declare(name, "presentationml.slide+xml");

        std::vector<Link> slideLinks = {
            {"rId1", "slideLayout", "../slideLayouts/slideLayout1.xml"}};
        const std::string show = slide.show.empty() ? "" : " show=\"" + slide.show + "\"";
        parts.push_back({name, Part("sld", show,
                                    ShapeTree(slide.shapes) +
                                        "<p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr>")});
        if (!slide.notes.empty() || !slide.notesShapes.empty()) {
            const std::string notes = "ppt/notesSlides/notesSlide" + number + ".xml";
            slideLinks.push_back(
                {"rId2", "notesSlide", "../notesSlides/notesSlide" + number + ".xml"});
            declare(notes, "presentationml.notesSlide+xml");
            parts.push_back(
                {notes, Part("notes", "",
                             ShapeTree(SlideImage() + Shape(slide.notes, "body") +
                                       slide.notesShapes + SlideNumber(static_cast<int>(i) + 1)))});
            parts.push_back(
                {"ppt/notesSlides/_rels/notesSlide" + number + ".xml.rels",
                 Relationships({{"rId1", "notesMaster", "../notesMasters/notesMaster1.xml"},
                                {"rId2", "slide", "../slides/slide" + number + ".xml"}})});
        }
        if (!slide.comment.empty()) {
            const std::string comments = "ppt/comments/comment" + number + ".xml";
            slideLinks.push_back({"rId3", "comments", "../comments/comment" + number + ".xml"});
            declare(comments, "presentationml.comments+xml");
            parts.push_back({comments, Part("cmLst", "",
                                            "<p:cm authorId=\"0\" dt=\"2026-01-01T00:00:00\" "
                                            "idx=\"1\"><p:pos x=\"10\" y=\"10\"/><p:text>" +
                                                Escaped(slide.comment) + "</p:text></p:cm>")});
        }
        parts.push_back(
            {"ppt/slides/_rels/slide" + number + ".xml.rels", Relationships(slideLinks)});
    }

    const std::string layoutShapes = file.layoutShapes.empty()
                                         ? Shape({Paragraph("Title of the layout")}, "title")
                                         : file.layoutShapes;
    parts.push_back({"ppt/presentation.xml",
                     Part("presentation", " saveSubsetFonts=\"1\"",
                          "<p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" r:id=\"rId1\"/>"
                          "</p:sldMasterIdLst><p:notesMasterIdLst><p:notesMasterId "
                          "r:id=\"rId2\"/></p:notesMasterIdLst><p:sldIdLst>" +
                              slideIds +
                              "</p:sldIdLst><p:sldSz cx=\"12192000\" cy=\"6858000\"/>"
                              "<p:notesSz cx=\"6858000\" cy=\"9144000\"/>")});
    parts.push_back({"ppt/_rels/presentation.xml.rels", Relationships(presentationLinks)});
    parts.push_back(
        {"ppt/slideLayouts/slideLayout1.xml",
         Part("sldLayout", " type=\"title\" preserve=\"1\"",
              ShapeTree(layoutShapes) + "<p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr>")});
    parts.push_back({"ppt/slideLayouts/_rels/slideLayout1.xml.rels",
                     Relationships({{"rId1", "slideMaster", "../slideMasters/slideMaster1.xml"}})});
    parts.push_back({"ppt/slideMasters/slideMaster1.xml",
                     Part("sldMaster", "",
                          ShapeTree(Shape({Paragraph("Title of the master")}, "title") +
                                    Shape({Paragraph("Text of the master")}, "body")) +
                              std::string(kColourMap) +
                              "<p:sldLayoutIdLst><p:sldLayoutId id=\"2147483649\" r:id=\"rId1\"/>"
                              "</p:sldLayoutIdLst>")});
    parts.push_back({"ppt/slideMasters/_rels/slideMaster1.xml.rels",
                     Relationships({{"rId1", "slideLayout", "../slideLayouts/slideLayout1.xml"},
                                    {"rId2", "theme", "../theme/theme1.xml"}})});
    parts.push_back(
        {"ppt/notesMasters/notesMaster1.xml",
         Part("notesMaster", "",
              ShapeTree(SlideImage() + Shape({Paragraph("Text of the master")}, "body")) +
                  std::string(kColourMap))});
    parts.push_back({"ppt/notesMasters/_rels/notesMaster1.xml.rels",
                     Relationships({{"rId1", "theme", "../theme/theme1.xml"}})});
    parts.push_back({"ppt/theme/theme1.xml",
                     std::string(kXmlDeclaration) +
                         "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/"
                         "main\" name=\"Plain\"><a:themeElements/></a:theme>"});
    parts.push_back(
        {"_rels/.rels", Relationships({{"rId1", "officeDocument", "ppt/presentation.xml"}})});
    types += "</Types>";
    parts.insert(parts.begin(), ZipEntry("[Content_Types].xml", types));
    for (const ZipEntry& part : file.moreParts) parts.push_back(part);
    if (file.strict)
        for (ZipEntry& part : parts) part.content = Strict(std::move(part.content));
    return parts;
}

std::string PresentationBytes(const PresentationFile& file) {
    return ZipBytes(PresentationParts(file));
}

}  // namespace orv::test
