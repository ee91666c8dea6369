#include "com/server/ServerModule.h"

#include <atomic>

#include "com/automation/ModulePath.h"

namespace orv::com {

namespace {
HINSTANCE module_ = nullptr;
std::atomic<long> locks_{0};
}  // namespace

void ServerModule::SetHandle(HINSTANCE module) noexcept {
    module_ = module;
}

HINSTANCE ServerModule::Handle() noexcept {
    return module_;
}

std::wstring ServerModule::Path() {
    return ModulePath(module_);
}

void ServerModule::Lock() noexcept {
    ++locks_;
}

void ServerModule::Unlock() noexcept {
    --locks_;
}

bool ServerModule::CanUnload() noexcept {
    return locks_.load() == 0;
}

}  // namespace orv::com
