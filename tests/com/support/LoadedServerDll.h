#pragma once
// A self-registering server DLL loaded into the test process, and its registration into the
// test prefix's HKEY_CLASSES_ROOT, so that its classes are found by ProgID as a real
// application's would be. Kept loaded until the process ends: COM loads the same module
// when it creates one of its objects.

#include <windows.h>

#include <string>

namespace orv::test {

class LoadedServerDll {
public:
    // `path` as the build gives it (a Unix path under Wine).
    explicit LoadedServerDll(const char* path);
    LoadedServerDll(const LoadedServerDll&) = delete;
    LoadedServerDll& operator=(const LoadedServerDll&) = delete;

    // The path as Windows loaded it: the one registration writes.
    const std::wstring& Path() const { return path_; }
    bool loaded() const { return module_ != nullptr; }
    HRESULT Register() const;
    HRESULT Unregister() const;
    // The exported function `name`, or null.
    FARPROC Entry(const char* name) const;

private:
    HRESULT CallExport(const char* name) const;

    HMODULE module_ = nullptr;
    std::wstring path_;
};

// The build's path as Windows reaches it: a Unix path through the drive that maps the root.
std::wstring WindowsPathOf(const char* path);

}  // namespace orv::test
