#include "com/server/WrapperRegistry.h"

#include <mutex>
#include <unordered_map>

namespace orv::com {

namespace {

// Objects of several apartments may meet here, hence the lock.
std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
}

std::unordered_map<const void*, IUnknown*>& Entries() {
    static auto* entries = new std::unordered_map<const void*, IUnknown*>();  // outlives DllMain
    return *entries;
}

}  // namespace

IUnknown* WrapperRegistry::Find(const void* core, TryAddRef tryAddRef) {
    std::lock_guard lock(Mutex());
    const auto found = Entries().find(core);
    if (found == Entries().end() || !tryAddRef(found->second)) return nullptr;
    return found->second;
}

void WrapperRegistry::Remember(const void* core, IUnknown* object) {
    std::lock_guard lock(Mutex());
    Entries()[core] = object;
}

void WrapperRegistry::Forget(const void* core, IUnknown* object) noexcept {
    std::lock_guard lock(Mutex());
    const auto found = Entries().find(core);
    if (found != Entries().end() && found->second == object) Entries().erase(found);
}

}  // namespace orv::com
