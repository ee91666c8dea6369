#pragma once
// A hidden top-level window of a given class, as an application has while it runs, so that
// a client can find it by class and bring it to the front. Destroyed with its owner, on the
// thread that made it. Without a display driver Wine cannot make windows at all (set the
// prefix's graphics driver to "null"); the window is then simply absent.

#include <windows.h>

#include <string>

namespace orv::com::objects {

class HiddenWindow {
public:
    HiddenWindow() = default;
    explicit HiddenWindow(const std::wstring& className);
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    ~HiddenWindow() { Destroy(); }

    void Destroy() noexcept;
    bool exists() const noexcept { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
};

}  // namespace orv::com::objects
