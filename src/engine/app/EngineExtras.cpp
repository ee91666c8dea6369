#include "engine/app/EngineExtras.h"

#include <mutex>
#include <utility>

namespace orv::engine {
namespace {

std::mutex extrasLock;
EngineExtras extras;

}  // namespace

void SetEngineExtras(EngineExtras newExtras) {
    std::lock_guard<std::mutex> hold(extrasLock);
    extras = std::move(newExtras);
}

EngineExtras CurrentEngineExtras() {
    std::lock_guard<std::mutex> hold(extrasLock);
    return extras;
}

}  // namespace orv::engine
