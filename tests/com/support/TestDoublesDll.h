#pragma once
// OrvTestDoubles.dll loaded into the test process, and its self-registration into the test
// prefix's HKEY_CLASSES_ROOT, so that the doubles are found by ProgID as the real
// applications would be. Loaded once per process and kept until the process ends.

#include <windows.h>

#include <string>

namespace orv::test {

class TestDoublesDll {
public:
    static TestDoublesDll& Get();

    // The path as Windows loaded it: the one registration writes.
    const std::wstring& Path() const { return path_; }
    bool loaded() const { return module_ != nullptr; }
    HRESULT Register() const;
    HRESULT Unregister() const;

private:
    TestDoublesDll();
    HMODULE module_ = nullptr;
    std::wstring path_;
};

}  // namespace orv::test
