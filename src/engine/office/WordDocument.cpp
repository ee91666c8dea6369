#include "engine/office/WordDocument.h"

#include "engine/model/EngineError.h"
#include "engine/office/OpcPackage.h"

namespace orv::engine {

DocumentText ReadWordBytes(std::string_view bytes, const DocumentSettings&) {
    const OpcPackage package(bytes);  // a damaged or hostile container is refused first
    RaiseEngineError(L"Word files are not read yet");
}

}  // namespace orv::engine
