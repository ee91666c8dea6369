// For Each over Files: VBScript asks for the enumerator as a property, JScript's
// Enumerator as a method; both get the records in position order, each once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ServerUnderTest.h"

namespace orv::test {
namespace {

class EnumerationTest : public testing::Test {
protected:
    void SetUp() override {
        ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse)->get_Files(&files);
        for (const wchar_t* path : {L"1.txt", L"2.txt", L"3.txt"}) {
            ComPtr<_clsBAFileInfo> added;
            com::OwnedBstr text(path);
            files->Add(text.get(), nullptr, &added);
        }
    }

    static std::vector<std::wstring> Paths(IEnumVARIANT* enumerator, ULONG chunk) {
        std::vector<std::wstring> paths;
        std::vector<VARIANT> items(chunk);
        for (;;) {
            ULONG fetched = 0;
            const HRESULT hr = enumerator->Next(chunk, items.data(), &fetched);
            for (ULONG i = 0; i < fetched; ++i) {
                ComPtr<_clsBAFileInfo> record;
                V_DISPATCH(&items[i])->QueryInterface(IID__clsBAFileInfo, &record);
                com::OwnedBstr path;
                record->get_FilePath(path.out());
                paths.push_back(com::TextOf(path.get()));
                VariantClear(&items[i]);
            }
            if (hr != S_OK) break;
        }
        return paths;
    }

    ComPtr<IEnumVARIANT> EnumeratorThrough(WORD flags) {
        ComPtr<IDispatch> dispatch;
        files.As(&dispatch);
        const auto got = Invoke(dispatch.Get(), DISPID_NEWENUM, flags, {});
        ComPtr<IEnumVARIANT> enumerator;
        if (got.hr == S_OK && V_VT(got.result.get()) == VT_UNKNOWN)
            V_UNKNOWN(got.result.get())->QueryInterface(IID_IEnumVARIANT, &enumerator);
        return enumerator;
    }

    ComPtr<_Files> files;
    const std::vector<std::wstring> all{L"1.txt", L"2.txt", L"3.txt"};
};

TEST_F(EnumerationTest, ScriptsOfBothKindsGetEveryRecordInPositionOrder) {
    for (WORD flags : {WORD(DISPATCH_PROPERTYGET), WORD(DISPATCH_METHOD),
                       WORD(DISPATCH_METHOD | DISPATCH_PROPERTYGET)}) {
        SCOPED_TRACE(flags);
        auto enumerator = EnumeratorThrough(flags);
        ASSERT_NE(enumerator, nullptr);
        EXPECT_EQ(Paths(enumerator.Get(), 1), all);
    }
}

TEST_F(EnumerationTest, NextSkipResetAndCloneKeepTheirOwnPlace) {
    auto enumerator = EnumeratorThrough(DISPATCH_PROPERTYGET);
    ASSERT_NE(enumerator, nullptr);
    EXPECT_EQ(Paths(enumerator.Get(), 2), all) << "two at a time, the last call short";
    EXPECT_EQ(enumerator->Skip(1), S_FALSE) << "nothing left";
    enumerator->Reset();
    EXPECT_EQ(enumerator->Skip(1), S_OK);
    ComPtr<IEnumVARIANT> copy;
    ASSERT_EQ(enumerator->Clone(&copy), S_OK);
    EXPECT_EQ(Paths(copy.Get(), 5), (std::vector<std::wstring>{L"2.txt", L"3.txt"}));
    EXPECT_EQ(Paths(enumerator.Get(), 1), (std::vector<std::wstring>{L"2.txt", L"3.txt"}));
    EXPECT_EQ(enumerator->Skip(10), S_FALSE);
}

TEST_F(EnumerationTest, RemovingRecordsDuringTheLoopVisitsTheRecordsAsTheyStoodAtItsStart) {
    auto enumerator = EnumeratorThrough(DISPATCH_PROPERTYGET);
    EXPECT_EQ(files->Remove(Long(1)), S_OK);
    EXPECT_EQ(files->Remove(Long(1)), S_OK);
    EXPECT_EQ(Paths(enumerator.Get(), 1), all);
    LONG count = 0;
    files->get_Count(&count);
    EXPECT_EQ(count, 1);
}

}  // namespace
}  // namespace orv::test
