#include "com/objects/ClassRegistration.h"

#include <string>

namespace orv::com::objects {
namespace {

std::wstring TextOf(REFCLSID classId) {
    wchar_t text[40] = {};
    StringFromGUID2(classId, text, static_cast<int>(std::size(text)));
    return text;
}

// Sets the value `name` (nullptr: the default value) of `key`, creating the key.
LSTATUS SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY opened = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &opened, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return status;
}

std::wstring DefaultValue(const std::wstring& key) {
    wchar_t value[256] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return value;
}

LSTATUS DeleteTree(const std::wstring& key) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
        return ERROR_SUCCESS;
    }
    return status;
}

HRESULT FromStatus(LSTATUS status) {
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

}  // namespace

HRESULT RegisterClasses(std::span<const ServedClass> classes, const wchar_t* modulePath) {
    for (const ServedClass& entry : classes) {
        const std::wstring classKey = L"CLSID\\" + TextOf(entry.classId);
        for (LSTATUS status :
             {SetValue(classKey, nullptr, entry.description),
              SetValue(classKey + L"\\InprocServer32", nullptr, modulePath),
              SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
              SetValue(classKey + L"\\ProgID", nullptr, entry.progId),
              SetValue(classKey + L"\\VersionIndependentProgID", nullptr, entry.progId),
              SetValue(entry.progId, nullptr, entry.description),
              SetValue(std::wstring(entry.progId) + L"\\CLSID", nullptr, TextOf(entry.classId))}) {
            if (status != ERROR_SUCCESS) return FromStatus(status);
        }
    }
    return S_OK;
}

HRESULT UnregisterClasses(std::span<const ServedClass> classes) {
    HRESULT result = S_OK;
    for (const ServedClass& entry : classes) {
        const std::wstring classId = TextOf(entry.classId);
        const std::wstring progIdClass = DefaultValue(std::wstring(entry.progId) + L"\\CLSID");
        if (progIdClass.empty() || _wcsicmp(progIdClass.c_str(), classId.c_str()) == 0) {
            if (const LSTATUS status = DeleteTree(entry.progId); status != ERROR_SUCCESS)
                result = FromStatus(status);
        }
        if (const LSTATUS status = DeleteTree(L"CLSID\\" + classId); status != ERROR_SUCCESS)
            result = FromStatus(status);
    }
    return result;
}

HRESULT GetClassObject(std::span<const ServedClass> classes, REFCLSID classId, REFIID iid,
                       void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const ServedClass& entry : classes)
        if (IsEqualCLSID(entry.classId, classId)) return entry.factory.QueryInterface(iid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace orv::com::objects
