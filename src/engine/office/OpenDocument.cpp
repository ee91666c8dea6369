#include "engine/office/OpenDocument.h"

#include "engine/model/EngineError.h"
#include "engine/office/OdfDocumentReader.h"
#include "engine/office/OdfManifest.h"
#include "engine/office/XmlPartReader.h"
#include "engine/office/ZipArchive.h"

namespace orv::engine {
namespace {

// Whether the bytes begin as an XML file does, after a byte order mark and whitespace: a flat
// document saved under a packed one's extension.
bool LooksLikeXml(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && bytes[start] == '<';
}

}  // namespace

DocumentText ReadOpenDocumentBytes(std::string_view bytes, const DocumentSettings& settings) {
    if (!LooksLikeZip(bytes) && LooksLikeXml(bytes))
        return ReadFlatOpenDocumentBytes(bytes, settings);
    ZipArchive archive(bytes);
    RefuseEncryptedPackage(archive);
    OdfDocumentReader document(settings);
    // styles.xml first: its common styles serve the body too. Its headers and footers are
    // kept aside until the body is read.
    if (std::optional<ZipArchive::Entry> styles = archive.Open("styles.xml")) {
        XmlPartReader reader(std::move(*styles));
        document.ReadPart(reader);
    }
    document.ForgetAutomaticStyles();
    std::optional<ZipArchive::Entry> content = archive.Open("content.xml");
    if (!content)
        RaiseEngineError(
            L"The document has no content part: it is damaged, or not an OpenDocument file");
    XmlPartReader reader(std::move(*content));
    document.ReadPart(reader);
    return document.Finish();
}

DocumentText ReadFlatOpenDocumentBytes(std::string_view bytes, const DocumentSettings& settings) {
    // A packed document saved under a flat one's extension is read as what it is.
    if (LooksLikeZip(bytes)) return ReadOpenDocumentBytes(bytes, settings);
    OdfDocumentReader document(settings);
    XmlPartReader reader(bytes);
    document.ReadPart(reader);
    return document.Finish();
}

}  // namespace orv::engine
