#include "support/TestDoublesDll.h"

namespace orv::test {
namespace {

// The build gives the path as the build system sees it; under Wine a Unix path is reached
// through the drive that maps the root.
std::wstring WindowsPathOf(const char* path) {
    std::wstring windows;
    if (path[0] == '/') windows = L"Z:";
    for (const char* c = path; *c; ++c) windows += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return windows;
}

HRESULT CallExport(HMODULE module, const char* name) {
    if (!module) return E_FAIL;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    const auto entry =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return entry ? entry() : E_NOTIMPL;
}

}  // namespace

TestDoublesDll& TestDoublesDll::Get() {
    static TestDoublesDll* dll = new TestDoublesDll();
    return *dll;
}

TestDoublesDll::TestDoublesDll() {
    module_ = LoadLibraryW(WindowsPathOf(ORV_TEST_DOUBLES_DLL).c_str());
    if (!module_) return;
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size())));
    path_ = path;
}

HRESULT TestDoublesDll::Register() const {
    return CallExport(module_, "DllRegisterServer");
}

HRESULT TestDoublesDll::Unregister() const {
    return CallExport(module_, "DllUnregisterServer");
}

}  // namespace orv::test
