#pragma once
// What the whole DLL shares: its own module handle and path, and the count of objects and
// server locks that decides whether COM may unload it.

#include <windows.h>

#include <string>

namespace orv::com {

class ServerModule {
public:
    static void SetHandle(HINSTANCE module) noexcept;
    static HINSTANCE Handle() noexcept;
    // The DLL's own path as Windows loaded it; empty when it cannot be read.
    static std::wstring Path();

    // Every object of the server counts from construction to destruction, every
    // IClassFactory::LockServer(TRUE) until its LockServer(FALSE).
    static void Lock() noexcept;
    static void Unlock() noexcept;
    static bool CanUnload() noexcept;
};

}  // namespace orv::com
