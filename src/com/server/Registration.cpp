#include "com/server/Registration.h"

#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include "OrvBatchAnalyse_h.h"
#include "com/server/ServerClasses.h"
#include "com/server/TypeLibrary.h"

namespace orv::com {

namespace {

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, static_cast<int>(std::size(text)));
    return text;
}

// Sets a key's value `name` (empty: the default value) to `value`, creating the key.
HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY opened = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &opened, nullptr);
    if (status == ERROR_SUCCESS) {
        status =
            RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    }
    return HRESULT_FROM_WIN32(status);
}

bool KeyExists(const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

HRESULT DeleteTree(const std::wstring& key) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return S_OK;
    return HRESULT_FROM_WIN32(status);
}

HRESULT RegisterClass(const ServerClass& serverClass, const std::wstring& serverPath) {
    const std::wstring classKey = L"CLSID\\" + GuidText(*serverClass.classId);
    const std::wstring progId = serverClass.progId;
    const struct {
        std::wstring key;
        const wchar_t* name;
        std::wstring value;
    } entries[] = {
        {classKey, nullptr, progId},
        {classKey + L"\\InprocServer32", nullptr, serverPath},
        {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {classKey + L"\\ProgID", nullptr, progId},
        {classKey + L"\\VersionIndependentProgID", nullptr, progId},
        {classKey + L"\\TypeLib", nullptr, GuidText(LIBID_OrvBatchAnalyse)},
        {classKey + L"\\Version", nullptr, L"1.0"},
        {progId, nullptr, progId},
        {progId + L"\\CLSID", nullptr, GuidText(*serverClass.classId)},
    };
    for (const auto& entry : entries) {
        const HRESULT set = SetValue(entry.key, entry.name, entry.value);
        if (FAILED(set)) return set;
    }
    return S_OK;
}

SYSKIND OwnSysKind() {
    return sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
}

}  // namespace

HRESULT RegisterServer(const std::wstring& serverPath) {
    if (serverPath.empty()) return SELFREG_E_CLASS;
    HRESULT result = S_OK;
    for (const auto& serverClass : CreatableClasses()) {
        result = RegisterClass(serverClass, serverPath);
        if (FAILED(result)) break;
    }
    if (SUCCEEDED(result)) {
        Microsoft::WRL::ComPtr<ITypeLib> library;
        result = TypeLibrary::Get(&library);
        if (SUCCEEDED(result))
            result =
                RegisterTypeLib(library.Get(), const_cast<LPOLESTR>(serverPath.c_str()), nullptr);
    }
    if (FAILED(result)) UnregisterServer();
    return result;
}

HRESULT UnregisterServer() {
    HRESULT result = S_OK;
    for (const auto& serverClass : CreatableClasses()) {
        for (const std::wstring& key :
             {L"CLSID\\" + GuidText(*serverClass.classId), std::wstring(serverClass.progId)}) {
            const HRESULT deleted = DeleteTree(key);
            if (SUCCEEDED(result)) result = deleted;
        }
    }
    // A library that was never registered (or is gone already) leaves nothing to remove.
    if (KeyExists(L"TypeLib\\" + GuidText(LIBID_OrvBatchAnalyse))) {
        const HRESULT library =
            UnRegisterTypeLib(LIBID_OrvBatchAnalyse, 1, 0, LOCALE_NEUTRAL, OwnSysKind());
        if (SUCCEEDED(result)) result = library;
    }
    return result;
}

}  // namespace orv::com
