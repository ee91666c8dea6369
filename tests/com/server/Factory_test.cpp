// The class factories: which classes a client can create, and how the server's lifetime
// follows its objects.
#include <gtest/gtest.h>

#include <ocidl.h>

#include "ServerUnderTest.h"

namespace orv::test {
namespace {

TEST(ClassFactory, GivesTheCreatableClassesOnlyAndEachAnswersItsPublishedInterfaces) {
    const GUID unknownClass = {0x12345678, 0x1, 0x2, {0, 1, 2, 3, 4, 5, 6, 7}};
    const struct {
        const char* name;
        const CLSID* classId;
        const IID* published;  // null: not creatable
        bool hasEvents;
    } cases[] = {
        {"BatchAnalyse", &CLSID_BatchAnalyse, &IID__BatchAnalyse, true},
        {"clsBAFileInfo", &CLSID_clsBAFileInfo, &IID__clsBAFileInfo, false},
        {"clsBATessera", &CLSID_clsBATessera, &IID__clsBATessera, true},
        {"Files", &CLSID_Files, nullptr, false},
        {"clsBATesseraSettings", &CLSID_clsBATesseraSettings, nullptr, false},
        {"an unknown class", &unknownClass, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IClassFactory> factory;
        const HRESULT got = ServerDll::Get().ClassObject(*c.classId, IID_IClassFactory, &factory);
        if (!c.published) {
            EXPECT_EQ(got, CLASS_E_CLASSNOTAVAILABLE);
            continue;
        }
        ASSERT_EQ(got, S_OK);
        ComPtr<IUnknown> object;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &object), S_OK);
        for (const IID* iid : {c.published, &IID_IDispatch, &IID_ISupportErrorInfo}) {
            ComPtr<IUnknown> asked;
            EXPECT_EQ(object->QueryInterface(*iid, &asked), S_OK);
            EXPECT_EQ(IdentityOf(asked.Get()), object.Get()) << "one identity";
        }
        ComPtr<ISupportErrorInfo> errors;
        object.As(&errors);
        EXPECT_EQ(errors->InterfaceSupportsErrorInfo(*c.published), S_OK);
        ComPtr<IConnectionPointContainer> points;
        EXPECT_EQ(SUCCEEDED(object.As(&points)), c.hasEvents);
        if (c.hasEvents) {
            ComPtr<IProvideClassInfo> classInfo;
            ASSERT_EQ(object.As(&classInfo), S_OK);
            ComPtr<ITypeInfo> info;
            ASSERT_EQ(classInfo->GetClassInfo(&info), S_OK);
            TYPEATTR* attr = nullptr;
            info->GetTypeAttr(&attr);
            EXPECT_TRUE(IsEqualCLSID(attr->guid, *c.classId));
            info->ReleaseTypeAttr(attr);
        }
        ComPtr<IUnknown> aggregated;
        EXPECT_EQ(factory->CreateInstance(object.Get(), IID_IUnknown, &aggregated),
                  CLASS_E_NOAGGREGATION);
        ComPtr<IUnknown> none;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &none), E_NOINTERFACE);
        EXPECT_EQ(none, nullptr);
    }
}

TEST(ClassFactory, TheServerCanUnloadOnlyWhenNoObjectOrLockIsLeft) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(ServerDll::Get().ClassObject(CLSID_BatchAnalyse, IID_IClassFactory, &factory), S_OK);
    ASSERT_EQ(ServerDll::Get().CanUnloadNow(), S_OK);
    {
        auto batch = ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse);
        ComPtr<_Files> files;
        ASSERT_EQ(batch->get_Files(&files), S_OK);
        batch.Reset();
        EXPECT_EQ(ServerDll::Get().CanUnloadNow(), S_FALSE) << "the collection is still held";
        ComPtr<IUnknown> enumerator;
        ASSERT_EQ(files->get_NewEnum(&enumerator), S_OK);
        files.Reset();
        EXPECT_EQ(ServerDll::Get().CanUnloadNow(), S_FALSE) << "the enumerator is still held";
    }
    EXPECT_EQ(ServerDll::Get().CanUnloadNow(), S_OK);
    factory->LockServer(TRUE);
    EXPECT_EQ(ServerDll::Get().CanUnloadNow(), S_FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(ServerDll::Get().CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace orv::test
