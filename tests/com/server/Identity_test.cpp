// One COM object per component object: what a client reads twice, or puts and reads back,
// is the same object, so `Is` holds and changes through one reference show in the other.
#include <gtest/gtest.h>

#include "ServerUnderTest.h"

namespace orv::test {
namespace {

// An object that implements a published interface's IDispatch but is not the server's.
class ForeignObject final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, IID__Files) || IsEqualIID(iid, IID__clsBATessera)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    ULONG references = 1;
};

class IdentityTest : public testing::Test {
protected:
    ComPtr<_BatchAnalyse> batch = ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse);
};

TEST_F(IdentityTest, ChildObjectsAreTheSameObjectOnEveryRead) {
    ComPtr<_Files> files1, files2;
    ComPtr<_clsBATesseraSettings> settings1, settings2;
    ComPtr<_clsBATessera> session1, session2;
    ASSERT_EQ(batch->get_Files(&files1), S_OK);
    ASSERT_EQ(batch->get_Files(&files2), S_OK);
    ASSERT_EQ(batch->get_BATesserasettings(&settings1), S_OK);
    ASSERT_EQ(batch->get_BATesserasettings(&settings2), S_OK);
    ASSERT_EQ(batch->get_BATessera(&session1), S_OK);
    ASSERT_EQ(batch->get_BATessera(&session2), S_OK);
    EXPECT_EQ(IdentityOf(files1.Get()), IdentityOf(files2.Get()));
    EXPECT_EQ(IdentityOf(settings1.Get()), IdentityOf(settings2.Get()));
    EXPECT_EQ(IdentityOf(session1.Get()), IdentityOf(session2.Get()));

    // Released by the client and read again: still the component's same collection.
    files2.Reset();
    ComPtr<_clsBAFileInfo> added;
    com::OwnedBstr path(L"a.txt"), key(L"K");
    ASSERT_EQ(files1->Add(path.get(), key.get(), &added), S_OK);
    files1.Reset();
    ComPtr<_Files> again;
    ASSERT_EQ(batch->get_Files(&again), S_OK);
    LONG count = 0;
    again->get_Count(&count);
    EXPECT_EQ(count, 1);
}

TEST_F(IdentityTest, ARecordIsTheSameObjectByAddByPositionByKeyAndByEnumeration) {
    ComPtr<_Files> files;
    ASSERT_EQ(batch->get_Files(&files), S_OK);
    ComPtr<_clsBAFileInfo> added;
    com::OwnedBstr path(L"doc.txt"), key(L"Key1");
    ASSERT_EQ(files->Add(path.get(), key.get(), &added), S_OK);

    ComPtr<_clsBAFileInfo> byPosition, byKey;
    ASSERT_EQ(files->Item(Long(1), &byPosition), S_OK);
    VARIANT otherCase = Text(L"KEY1");
    ASSERT_EQ(files->Item(otherCase, &byKey), S_OK);
    VariantClear(&otherCase);
    EXPECT_EQ(IdentityOf(added.Get()), IdentityOf(byPosition.Get()));
    EXPECT_EQ(IdentityOf(added.Get()), IdentityOf(byKey.Get()));

    ComPtr<IUnknown> enumeratorObject;
    ASSERT_EQ(files->get_NewEnum(&enumeratorObject), S_OK);
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(enumeratorObject.As(&enumerator), S_OK);
    com::OwnedVariant item;
    ULONG fetched = 0;
    ASSERT_EQ(enumerator->Next(1, item.get(), &fetched), S_OK);
    EXPECT_EQ(IdentityOf(V_DISPATCH(item.get())), IdentityOf(added.Get()));

    // A change through one reference shows through the other.
    ASSERT_EQ(added->put_WordsTotal(42), S_OK);
    LONG words = 0;
    byKey->get_WordsTotal(&words);
    EXPECT_EQ(words, 42);
}

TEST_F(IdentityTest, AnObjectPutIsTheObjectReadBackAndNothingMakesTheNextReadANewOne) {
    auto session = ServerDll::Get().Create<_clsBATessera>(CLSID_clsBATessera);
    ASSERT_EQ(batch->putref_BATessera(session.Get()), S_OK);
    ComPtr<_clsBATessera> readBack;
    ASSERT_EQ(batch->get_BATessera(&readBack), S_OK);
    EXPECT_EQ(IdentityOf(readBack.Get()), IdentityOf(session.Get()));

    auto other = ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse);
    ComPtr<_Files> theirs, ours;
    ASSERT_EQ(other->get_Files(&theirs), S_OK);
    ASSERT_EQ(batch->putref_Files(theirs.Get()), S_OK);
    ASSERT_EQ(batch->get_Files(&ours), S_OK);
    EXPECT_EQ(IdentityOf(ours.Get()), IdentityOf(theirs.Get())) << "shared, not copied";

    ASSERT_EQ(batch->putref_Files(nullptr), S_OK);
    ComPtr<_Files> fresh;
    ASSERT_EQ(batch->get_Files(&fresh), S_OK);
    EXPECT_NE(IdentityOf(fresh.Get()), IdentityOf(theirs.Get()));
    LONG count = -1;
    fresh->get_Count(&count);
    EXPECT_EQ(count, 0);
}

TEST_F(IdentityTest, AnObjectThatIsNotTheServersOwnIsRefusedAsATypeMismatch) {
    ForeignObject foreign;
    const HRESULT files = batch->putref_Files(reinterpret_cast<_Files*>(&foreign));
    EXPECT_EQ(files, static_cast<HRESULT>(0x800A000D));
    EXPECT_EQ(TakeErrorInfo().second, L"Type mismatch");
    // Through IDispatch, as a script passes it.
    const auto outcome = Invoke(batch.Get(), L"BATessera", Call::PutRef, {Object(&foreign)});
    EXPECT_EQ(outcome.errorNumber, 13);
    EXPECT_EQ(foreign.references, 1u) << "no reference kept";
}

}  // namespace
}  // namespace orv::test
