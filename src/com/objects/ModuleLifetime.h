#pragma once
// What keeps the DLL loaded: its live objects and class-factory locks. COM asks
// DllCanUnloadNow before it unloads a DLL; while anything here is counted, the answer is no.

#include <windows.h>

#include <atomic>

namespace orv::com::objects {

class ModuleLifetime {
public:
    static void SetModule(HMODULE module) noexcept { module_ = module; }
    static HMODULE Module() noexcept { return module_; }

    static void ObjectCreated() noexcept { ++objects_; }
    static void ObjectDestroyed() noexcept { --objects_; }
    static void Lock(bool lock) noexcept { lock ? ++locks_ : --locks_; }
    static bool CanUnload() noexcept { return objects_ == 0 && locks_ == 0; }

private:
    static inline HMODULE module_ = nullptr;
    static inline std::atomic<long> objects_{0};
    static inline std::atomic<long> locks_{0};
};

}  // namespace orv::com::objects
