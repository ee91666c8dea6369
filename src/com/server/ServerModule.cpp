#include "com/server/ServerModule.h"

#include <atomic>

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
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        // A full buffer may hold a cut path: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
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
