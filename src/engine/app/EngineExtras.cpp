#include "engine/app/EngineExtras.h"

#include <mutex>
#include <utility>

#include "engine/text/DocumentEncoding.h"

namespace orv::engine {
namespace {

std::mutex extrasLock;
EngineExtras extras;

}  // namespace

void SetEngineExtras(EngineExtras newExtras) {
    std::lock_guard<std::mutex> hold(extrasLock);
    extras = std::move(newExtras);
}

bool IsKnownDocumentEncoding(const std::string& name) {
    return IsKnownEncoding(name);
}

EngineExtras CurrentEngineExtras() {
    std::lock_guard<std::mutex> hold(extrasLock);
    return extras;
}

}  // namespace orv::engine
