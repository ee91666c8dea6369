#include "engine/office/OdfManifest.h"

#include "engine/model/EngineError.h"
#include "engine/office/OdfNames.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

void RefuseEncryptedPackage(ZipArchive& archive) {
    std::optional<ZipArchive::Entry> manifest = archive.Open("META-INF/manifest.xml");
    if (!manifest) return;
    XmlPartReader reader(std::move(*manifest));
    while (reader.Next())
        if (reader.IsStart(odf::kManifest, "encryption-data"))
            RaiseEngineError(
                L"The document is encrypted: open it with its password and save it without one");
}

}  // namespace orv::engine
