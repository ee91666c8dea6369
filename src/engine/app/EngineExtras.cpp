#include "engine/app/EngineExtras.h"

#include "engine/text/DocumentEncoding.h"

namespace orv::engine {

bool IsKnownDocumentEncoding(const std::string& name) {
    return IsKnownEncoding(name);
}

}  // namespace orv::engine
