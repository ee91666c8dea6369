#include "engine/office/OpenDocument.h"

#include "engine/model/EngineError.h"

namespace orv::engine {

DocumentText ReadOpenDocumentBytes(std::string_view, const DocumentSettings&) {
    RaiseEngineError(L"OpenDocument files are not read yet");
}

DocumentText ReadFlatOpenDocumentBytes(std::string_view, const DocumentSettings&) {
    RaiseEngineError(L"OpenDocument files are not read yet");
}

}  // namespace orv::engine
