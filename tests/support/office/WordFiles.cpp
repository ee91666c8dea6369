#include "support/office/WordFiles.h"

#include <set>

#include "support/office/ZipWriter.h"

namespace orv::test {
namespace {

struct Namespaces {
    const char* main;
    const char* relationships;
    const char* math;
    const char* relationshipTypes;  // the prefix of a relationship type
};

constexpr Namespaces kTransitional = {
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "http://schemas.openxmlformats.org/officeDocument/2006/math",
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"};

constexpr Namespaces kStrict = {"http://purl.oclc.org/ooxml/wordprocessingml/main",
                                "http://purl.oclc.org/ooxml/officeDocument/relationships",
                                "http://purl.oclc.org/ooxml/officeDocument/math",
                                "http://purl.oclc.org/ooxml/officeDocument/relationships/"};

std::string Root(const Namespaces& ns, const std::string& element, const std::string& content) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:";
    xml += element;
    xml += std::string(" xmlns:w=\"") + ns.main + "\" xmlns:r=\"" + ns.relationships +
           "\" xmlns:m=\"" + ns.math +
           "\" xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
           " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
           " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\""
           " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
           " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\""
           " xmlns:v=\"urn:schemas-microsoft-com:vml\""
           " xmlns:o=\"urn:schemas-microsoft-com:office:office\" mc:Ignorable=\"wps\">";
    xml += content;
    xml += "</w:" + element + ">";
    return xml;
}

std::string RelationshipXml(const std::string& id, const std::string& type,
                            const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
}

const char* const kWordContentType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.";

}  // namespace

std::string WordBytes(const WordFile& file) {
    const Namespaces& ns = file.strict ? kStrict : kTransitional;
    const std::string types = ns.relationshipTypes;

    std::string contentTypes =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    contentTypes += std::string("<Override PartName=\"/word/document.xml\" ContentType=\"") +
                    (file.macros ? "application/vnd.ms-word.document.macroEnabled.main+xml"
                                 : std::string(kWordContentType) + "document.main+xml") +
                    "\"/>";
    std::string relationships =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    std::vector<ZipEntry> entries;
    std::set<std::string> written;  // a part two relationships point to is written once

    const auto addPart = [&](const std::string& id, const std::string& type,
                             const std::string& name, const std::string& root,
                             const std::string& content, bool missing) {
        relationships += RelationshipXml(id, types + type, name);
        if (!written.insert(name).second) return;
        contentTypes += "<Override PartName=\"/word/" + name + "\" ContentType=\"" +
                        kWordContentType + type + "+xml\"/>";
        if (!missing) entries.emplace_back("word/" + name, Root(ns, root, content));
    };
    if (!file.styles.empty())
        addPart("rIdStyles", "styles", "styles.xml", "styles", file.styles, false);
    if (!file.footnotes.empty())
        addPart("rIdFootnotes", "footnotes", "footnotes.xml", "footnotes", file.footnotes, false);
    if (!file.endnotes.empty())
        addPart("rIdEndnotes", "endnotes", "endnotes.xml", "endnotes", file.endnotes, false);
    if (!file.comments.empty())
        addPart("rIdComments", "comments", "comments.xml", "comments", file.comments, false);
    for (const WordPart& part : file.parts)
        addPart(part.relationshipId, part.type, part.name, part.type == "header" ? "hdr" : "ftr",
                part.content, part.missing);
    if (file.macros) {
        relationships += RelationshipXml(
            "rIdMacros", "http://schemas.microsoft.com/office/2006/relationships/vbaProject",
            "vbaProject.bin");
        contentTypes +=
            "<Override PartName=\"/word/vbaProject.bin\" "
            "ContentType=\"application/vnd.ms-office.vbaProject\"/>";
        entries.emplace_back("word/vbaProject.bin", std::string("\xD0\xCF\x11\xE0 macros", 11));
    }
    relationships += "</Relationships>";
    contentTypes += "</Types>";

    const std::string packageRelationships =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
        RelationshipXml("rId1", types + "officeDocument", "word/document.xml") + "</Relationships>";

    std::vector<ZipEntry> all;
    all.emplace_back("[Content_Types].xml", contentTypes);
    all.emplace_back("_rels/.rels", packageRelationships);
    all.emplace_back("word/document.xml",
                     Root(ns, "document", "<w:body>" + file.body + "</w:body>"));
    all.emplace_back("word/_rels/document.xml.rels", relationships);
    for (ZipEntry& entry : entries) all.push_back(std::move(entry));
    return ZipBytes(all);
}

std::string WordParagraphs(const std::vector<std::string>& texts) {
    std::string xml;
    for (const std::string& text : texts)
        xml += "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
    return xml;
}

std::string WordNote(const std::string& element, int id, const std::vector<std::string>& texts) {
    return "<w:" + element + " w:id=\"" + std::to_string(id) + "\">" + WordParagraphs(texts) +
           "</w:" + element + ">";
}

}  // namespace orv::test
