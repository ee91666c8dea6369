#include "com/objects/ClassRegistration.h"

#include <string>

#include "com/automation/ClassesRoot.h"

namespace orv::com::objects {

HRESULT RegisterClasses(std::span<const ServedClass> classes, const wchar_t* modulePath) {
    for (const ServedClass& entry : classes) {
        const std::wstring classKey = L"CLSID\\" + GuidText(entry.classId);
        const std::wstring progId = entry.progId;
        for (const HRESULT set :
             {SetClassesRootValue(classKey, nullptr, entry.description),
              SetClassesRootValue(classKey + L"\\InprocServer32", nullptr, modulePath),
              SetClassesRootValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
              SetClassesRootValue(classKey + L"\\ProgID", nullptr, progId),
              SetClassesRootValue(classKey + L"\\VersionIndependentProgID", nullptr, progId),
              SetClassesRootValue(progId, nullptr, entry.description),
              SetClassesRootValue(progId + L"\\CLSID", nullptr, GuidText(entry.classId))}) {
            if (FAILED(set)) return set;
        }
    }
    return S_OK;
}

HRESULT UnregisterClasses(std::span<const ServedClass> classes) {
    HRESULT result = S_OK;
    for (const ServedClass& entry : classes) {
        const std::wstring classId = GuidText(entry.classId);
        const std::wstring progIdClass = ClassesRootValue(std::wstring(entry.progId) + L"\\CLSID");
        if (progIdClass.empty() || _wcsicmp(progIdClass.c_str(), classId.c_str()) == 0) {
            if (const HRESULT deleted = DeleteClassesRootTree(entry.progId); FAILED(deleted))
                result = deleted;
        }
        if (const HRESULT deleted = DeleteClassesRootTree(L"CLSID\\" + classId); FAILED(deleted))
            result = deleted;
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
