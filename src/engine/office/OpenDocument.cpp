#include "engine/office/OpenDocument.h"

#include "engine/model/EngineError.h"
#include "engine/office/OdfDocumentReader.h"
#include "engine/office/OdfManifest.h"
#include "engine/office/XmlPartReader.h"
#include "engine/office/ZipArchive.h"

namespace orv::engine {

DocumentText ReadOpenDocumentBytes(std::string_view bytes, const DocumentSettings& settings) {
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
    OdfDocumentReader document(settings);
    XmlPartReader reader(bytes);
    document.ReadPart(reader);
    return document.Finish();
}

}  // namespace orv::engine
