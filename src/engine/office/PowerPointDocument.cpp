#include "engine/office/PowerPointDocument.h"

#include "engine/model/EngineError.h"
#include "engine/office/OpcPackage.h"

namespace orv::engine {

DocumentText ReadPowerPointBytes(std::string_view bytes) {
    const OpcPackage package(bytes);  // a damaged or hostile container is refused first
    RaiseEngineError(L"PowerPoint files are not read yet");
}

}  // namespace orv::engine
