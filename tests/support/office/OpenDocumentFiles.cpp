#include "support/office/OpenDocumentFiles.h"

#include "support/office/ZipWriter.h"

namespace orv::test {
namespace {

constexpr const char* kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

constexpr const char* kNamespaces =
    R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")"
    R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")"
    R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")"
    R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0")"
    R"( xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0")"
    R"( xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0")"
    R"( xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0")"
    R"( xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")"
    R"( xmlns:anim="urn:oasis:names:tc:opendocument:xmlns:animation:1.0")"
    R"( xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.3")";

const char* MimeTypeOf(OdfKind kind) {
    switch (kind) {
        case OdfKind::Text:
            return "application/vnd.oasis.opendocument.text";
        case OdfKind::Spreadsheet:
            return "application/vnd.oasis.opendocument.spreadsheet";
        case OdfKind::Presentation:
            break;
    }
    return "application/vnd.oasis.opendocument.presentation";
}

const char* BodyElementOf(OdfKind kind) {
    switch (kind) {
        case OdfKind::Text:
            return "office:text";
        case OdfKind::Spreadsheet:
            return "office:spreadsheet";
        case OdfKind::Presentation:
            break;
    }
    return "office:presentation";
}

std::string Element(const std::string& name, const std::string& content) {
    return "<" + name + ">" + content + "</" + name + ">";
}

std::string Body(OdfKind kind, const OdfParts& parts) {
    return Element("office:body", Element(BodyElementOf(kind), parts.body));
}

std::string Manifest(OdfKind kind, bool encrypted) {
    std::string manifest = std::string(kDeclaration) +
                           R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:)"
                           R"(xmlns:manifest:1.0" manifest:version="1.3">)"
                           R"(<manifest:file-entry manifest:full-path="/" manifest:media-type=")" +
                           MimeTypeOf(kind) + R"("/>)";
    manifest += R"(<manifest:file-entry manifest:full-path="content.xml" )"
                R"(manifest:media-type="text/xml")";
    if (encrypted)
        manifest +=
            R"(><manifest:encryption-data manifest:checksum-type="SHA1/1K" manifest:checksum="AA==">)"
            R"(<manifest:algorithm manifest:algorithm-name="Blowfish CFB" )"
            R"(manifest:initialisation-vector="AA=="/></manifest:encryption-data></manifest:file-entry>)";
    else
        manifest += "/>";
    manifest += R"(<manifest:file-entry manifest:full-path="styles.xml" )"
                R"(manifest:media-type="text/xml"/></manifest:manifest>)";
    return manifest;
}

}  // namespace

std::string OpenDocumentBytes(OdfKind kind, const OdfParts& parts) {
    const std::string content = std::string(kDeclaration) + "<office:document-content" +
                                kNamespaces + ">" +
                                Element("office:automatic-styles", parts.automaticStyles) +
                                Body(kind, parts) + "</office:document-content>";
    const std::string styles = std::string(kDeclaration) + "<office:document-styles" + kNamespaces +
                               ">" + Element("office:styles", parts.styles) +
                               Element("office:automatic-styles", parts.masterAutomaticStyles) +
                               Element("office:master-styles", parts.masterStyles) +
                               "</office:document-styles>";
    return ZipBytes({
        {"mimetype", MimeTypeOf(kind), true},
        {"META-INF/manifest.xml", Manifest(kind, parts.encrypted)},
        {"content.xml", content},
        {"styles.xml", styles},
    });
}

std::string FlatOpenDocumentBytes(OdfKind kind, const OdfParts& parts) {
    return std::string(kDeclaration) + "<office:document" + kNamespaces + " office:mimetype=\"" +
           MimeTypeOf(kind) + "\">" + Element("office:styles", parts.styles) +
           Element("office:automatic-styles", parts.masterAutomaticStyles + parts.automaticStyles) +
           Element("office:master-styles", parts.masterStyles) + Body(kind, parts) +
           "</office:document>";
}

}  // namespace orv::test
