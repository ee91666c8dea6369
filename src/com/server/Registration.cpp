#include "com/server/Registration.h"

#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include "OrvBatchAnalyse_h.h"
#include "com/automation/ClassesRoot.h"
#include "com/server/ServerClasses.h"
#include "com/server/TypeLibrary.h"

namespace orv::com {

namespace {

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
        const HRESULT set = SetClassesRootValue(entry.key, entry.name, entry.value);
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
            const HRESULT deleted = DeleteClassesRootTree(key);
            if (SUCCEEDED(result)) result = deleted;
        }
    }
    // A library that was never registered (or is gone already) leaves nothing to remove.
    if (ClassesRootKeyExists(L"TypeLib\\" + GuidText(LIBID_OrvBatchAnalyse))) {
        const HRESULT library =
            UnRegisterTypeLib(LIBID_OrvBatchAnalyse, 1, 0, LOCALE_NEUTRAL, OwnSysKind());
        if (SUCCEEDED(result)) result = library;
    }
    return result;
}

}  // namespace orv::com
