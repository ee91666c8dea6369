#include "support/LoadedServerDll.h"

namespace orv::test {

std::wstring WindowsPathOf(const char* path) {
    std::wstring windows;
    if (path[0] == '/') windows = L"Z:";
    for (const char* c = path; *c; ++c) windows += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return windows;
}

LoadedServerDll::LoadedServerDll(const char* path) {
    module_ = LoadLibraryW(WindowsPathOf(path).c_str());
    if (!module_) return;
    std::wstring loaded(MAX_PATH * 4, L'\0');
    loaded.resize(GetModuleFileNameW(module_, loaded.data(), static_cast<DWORD>(loaded.size())));
    path_ = loaded;
}

FARPROC LoadedServerDll::Entry(const char* name) const {
    return module_ ? GetProcAddress(module_, name) : nullptr;
}

HRESULT LoadedServerDll::CallExport(const char* name) const {
    using Export = HRESULT(STDAPICALLTYPE*)();
    const auto entry = reinterpret_cast<Export>(reinterpret_cast<void*>(Entry(name)));
    return !module_ ? E_FAIL : entry ? entry() : E_NOTIMPL;
}

HRESULT LoadedServerDll::Register() const {
    return CallExport("DllRegisterServer");
}

HRESULT LoadedServerDll::Unregister() const {
    return CallExport("DllUnregisterServer");
}

}  // namespace orv::test
