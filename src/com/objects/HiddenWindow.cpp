#include "com/objects/HiddenWindow.h"

#include "com/objects/ModuleLifetime.h"

namespace orv::com::objects {

HiddenWindow::HiddenWindow(const std::wstring& className) {
    const HINSTANCE instance = ModuleLifetime::Module();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.c_str();
    // A second application in the process finds the class registered already.
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
    window_ = CreateWindowExW(0, className.c_str(), L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              instance, nullptr);
}

void HiddenWindow::Destroy() noexcept {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace orv::com::objects
