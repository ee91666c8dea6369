#include "com/server/ServerClasses.h"

#include <memory>

#include "OrvBatchAnalyse_h.h"
#include "com/server/BatchAnalyseObject.h"
#include "com/server/FileInfoObject.h"
#include "com/server/TesseraSessionObject.h"

namespace orv::com {

namespace {

// Through the registry, so that the object a client created is the one it reads back
// after putting it into another (a session put into BatchAnalyse.BATessera).
template <typename Wrapper>
IUnknown* CreateNew() {
    auto created = WrapperFor<Wrapper>(std::make_shared<typename Wrapper::CoreType>());
    return created.Detach();
}

// Files and clsBATesseraSettings are handed out by BatchAnalyse only.
const ServerClass kClasses[] = {
    {&CLSID_BatchAnalyse, L"OrvBatchAnalyse.BatchAnalyse", &CreateNew<BatchAnalyseObject>},
    {&CLSID_clsBAFileInfo, L"OrvBatchAnalyse.clsBAFileInfo", &CreateNew<FileInfoObject>},
    {&CLSID_clsBATessera, L"OrvBatchAnalyse.clsBATessera", &CreateNew<TesseraSessionObject>},
};

}  // namespace

std::span<const ServerClass> CreatableClasses() {
    return kClasses;
}

const ServerClass* FindCreatableClass(REFCLSID classId) {
    for (const auto& serverClass : kClasses) {
        if (IsEqualCLSID(*serverClass.classId, classId)) return &serverClass;
    }
    return nullptr;
}

}  // namespace orv::com
