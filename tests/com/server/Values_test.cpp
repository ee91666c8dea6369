// Values as clients pass them through IDispatch: every property keeps what it is given,
// whatever the client's variant type, and Files takes a position or a key in any form a
// script has it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ServerUnderTest.h"

namespace orv::test {
namespace {

ComPtr<IDispatch> NewBatch() {
    ComPtr<IDispatch> batch;
    ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse).As(&batch);
    return batch;
}

TEST(Values, ANewBatchAnalyseHasItsInitialValues) {
    auto batch = NewBatch();
    const struct {
        const wchar_t* member;
        VARIANT expected;
    } cases[] = {
        {L"ExportUnknownMaxMatch", Long(85)},
        {L"ExportFrequentOccurrences", Long(5)},
        {L"ExportUnknownFileType", Long(1)},
        {L"ExportFrequentFileType", Long(1)},
        {L"TranslationMemorySourceLanguageId", Long(0)},
        {L"TranslationMemoryTargetLanguageId", Long(0)},
        {L"CreateEmptyTM", Bool(false)},
        {L"LoadWordObject", Bool(false)},
        {L"UseTMFromPreviousAnalysis", Bool(false)},
        {L"TranslationMemory", Text(L"")},
        {L"LogFileName", Text(L"")},
        {L"Name", Text(L"")},
        {L"GetLogFileContent", Text(L"not implemented")},
        {L"GetCsvLogFileContent", Text(L"")},
        {L"GetCsvLogFileContentWithoutHeader", Text(L"")},
    };
    for (const auto& c : cases) {
        const bool method = std::wstring(c.member).starts_with(L"Get");
        const auto got = Invoke(batch.Get(), c.member, method ? Call::Method : Call::Get);
        ASSERT_EQ(got.hr, S_OK) << c.member;
        EXPECT_TRUE(SameValue(*got.result.get(), c.expected))
            << c.member << ": " << Describe(*got.result.get()) << ", expected "
            << Describe(c.expected);
    }
}

TEST(Values, EveryPropertyStoresWhatItIsGivenInTheTypeTheClientHasIt) {
    auto batch = NewBatch();
    const std::wstring withNul(L"a\0b", 3);
    const struct {
        const wchar_t* member;
        VARIANT given;
        VARIANT expected;
    } cases[] = {
        {L"ExportUnknownMaxMatch", Long(-7), Long(-7)},
        {L"ExportUnknownMaxMatch", Short(300), Long(300)},
        {L"ExportUnknownMaxMatch", Real(12.5), Long(12)},  // half to even, as automation rounds
        {L"ExportUnknownMaxMatch", Text(L"99"), Long(99)},
        {L"ExportFrequentOccurrences", Long(INT32_MIN), Long(INT32_MIN)},
        {L"ExportUnknownFileType", Long(99), Long(99)},
        {L"ExportFrequentFileType", Long(-1), Long(-1)},
        {L"TranslationMemoryTargetLanguageId", Long(0x0407), Long(0x0407)},
        {L"CreateEmptyTM", Bool(true), Bool(true)},
        {L"LoadWordObject", Long(1), Bool(true)},  // any non-zero number is True
        {L"UseTMFromPreviousAnalysis", Text(L"True"), Bool(true)},
        {L"TranslationMemory", Text(L"C:\\Mémoires\\日本語.tmv"),
         Text(L"C:\\Mémoires\\日本語.tmv")},
        {L"TranslationMemoryPassword", Text(withNul), Text(withNul)},
        {L"LogFileName", Long(12), Text(L"12")},
        {L"Key", Text(L" spaced "), Text(L" spaced ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.member) << " <- " << Describe(c.given));
        ASSERT_EQ(Invoke(batch.Get(), c.member, Call::Put, {c.given}).hr, S_OK);
        const auto got = Invoke(batch.Get(), c.member, Call::Get);
        ASSERT_EQ(got.hr, S_OK);
        EXPECT_TRUE(SameValue(*got.result.get(), c.expected)) << Describe(*got.result.get());
    }
    const auto wrong = Invoke(batch.Get(), L"ExportUnknownMaxMatch", Call::Put, {Text(L"many")});
    EXPECT_EQ(wrong.hr, DISP_E_TYPEMISMATCH);
}

// Each field of a record of many fields keeps its own value: a put that wrote another
// field, or a get that read one, shows here. The fields come from the type library.
void ExpectEveryFieldKeepsItsOwnValue(IDispatch* object, const std::vector<std::wstring>& skipped) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    std::vector<std::pair<DISPID, VARTYPE>> fields;
    for (UINT f = 0; f < attr->cFuncs; ++f) {
        FUNCDESC* func = nullptr;
        info->GetFuncDesc(f, &func);
        if (func->invkind == INVOKE_PROPERTYPUT) {
            com::OwnedBstr name;
            info->GetDocumentation(func->memid, name.out(), nullptr, nullptr, nullptr);
            bool skip = false;
            for (const auto& s : skipped) skip = skip || s == com::TextOf(name.get());
            if (!skip) fields.emplace_back(func->memid, func->lprgelemdescParam[0].tdesc.vt);
        }
        info->ReleaseFuncDesc(func);
    }
    info->ReleaseTypeAttr(attr);
    ASSERT_GT(fields.size(), 10u);

    auto valueFor = [](VARTYPE type, std::size_t i) {
        switch (type) {
            case VT_BSTR:
                return Text(L"value " + std::to_wstring(i));
            case VT_BOOL:
                return Bool(i % 2 == 0);
            case VT_R8:
                return Real(static_cast<double>(i) + 0.25);
            default:
                return Long(static_cast<int32_t>(1000 + i));
        }
    };
    for (std::size_t i = 0; i < fields.size(); ++i)
        ASSERT_EQ(
            Invoke(object, fields[i].first, DISPATCH_PROPERTYPUT, {valueFor(fields[i].second, i)})
                .hr,
            S_OK);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto got = Invoke(object, fields[i].first, DISPATCH_PROPERTYGET, {});
        VARIANT expected = valueFor(fields[i].second, i);
        EXPECT_TRUE(SameValue(*got.result.get(), expected))
            << "dispatch id 0x" << std::hex << fields[i].first << ": "
            << Describe(*got.result.get());
        VariantClear(&expected);
    }
}

TEST(Values, EveryOptionOfTheSettingsKeepsItsOwnValue) {
    auto batch = NewBatch();
    const auto settings = Invoke(batch.Get(), L"BATesserasettings", Call::Get);
    ASSERT_EQ(V_VT(settings.result.get()), VT_DISPATCH);
    ExpectEveryFieldKeepsItsOwnValue(V_DISPATCH(settings.result.get()), {});
}

TEST(Values, EveryStatisticOfARecordKeepsItsOwnValue) {
    ComPtr<IDispatch> record;
    ServerDll::Get().Create<_clsBAFileInfo>(CLSID_clsBAFileInfo).As(&record);
    // The status members clear the statistics when they are set, by design.
    ExpectEveryFieldKeepsItsOwnValue(record.Get(),
                                     {L"FileProcessed", L"ProcessingError", L"FilePath"});
}

TEST(Values, FilesTakesAPositionOrAKeyInAnyFormAScriptHasIt) {
    auto batch = NewBatch();
    const auto files = Invoke(batch.Get(), L"Files", Call::Get);
    IDispatch* collection = V_DISPATCH(files.result.get());
    for (const wchar_t* path : {L"one.txt", L"two.txt", L"three.txt"}) {
        const std::wstring key = std::wstring(L"k-") + path;
        ASSERT_EQ(Invoke(collection, L"Add", Call::Method, {Text(path), Text(key)}).hr, S_OK);
    }
    VARIANT two = Long(2);
    VARIANT keyText = Text(L"K-THREE.TXT");
    const struct {
        const char* name;
        VARIANT index;
        const wchar_t* path;  // null: the error below
        int32_t error;
    } cases[] = {
        {"Long", Long(1), L"one.txt", 0},
        {"Integer", Short(3), L"three.txt", 0},
        {"Double", Real(2.0), L"two.txt", 0},
        {"Double rounded half to even", Real(2.5), L"two.txt", 0},
        {"Boolean True is -1", Bool(true), nullptr, 9},
        {"variable by reference", ByRef(&two), L"two.txt", 0},
        {"key in another letter case", Text(L"K-ONE.TXT"), L"one.txt", 0},
        {"key by reference", ByRef(&keyText), L"three.txt", 0},
        {"digits are a key, not a position", Text(L"2"), nullptr, 5},
        {"position 0", Long(0), nullptr, 9},
        {"position past the end", Long(4), nullptr, 9},
        {"missing key", Text(L"nope"), nullptr, 5},
        {"Empty", VARIANT{}, nullptr, 13},
        {"beyond 32 bits", Real(1e12), nullptr, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto item =
            Invoke(collection, DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {c.index});
        if (!c.path) {
            EXPECT_EQ(item.hr, DISP_E_EXCEPTION);
            EXPECT_EQ(item.errorNumber, c.error) << Describe(c.index);
            continue;
        }
        ASSERT_EQ(item.hr, S_OK);
        const auto path = Invoke(V_DISPATCH(item.result.get()), L"FilePath", Call::Get);
        EXPECT_EQ(com::TextOf(V_BSTR(path.result.get())), c.path);
    }
    // Through the BatchAnalyse property itself, as "ba.Files(2)" reads.
    const auto chained = Invoke(batch.Get(), L"Files", Call::Get, {Long(2)});
    ASSERT_EQ(chained.hr, S_OK);
    EXPECT_EQ(com::TextOf(V_BSTR(
                  Invoke(V_DISPATCH(chained.result.get()), L"FilePath", Call::Get).result.get())),
              L"two.txt");

    ASSERT_EQ(Invoke(collection, L"Remove", Call::Method, {ByRef(&two)}).hr, S_OK);
    EXPECT_EQ(V_I4(Invoke(collection, L"Count", Call::Get).result.get()), 2);
    const auto duplicate =
        Invoke(collection, L"Add", Call::Method, {Text(L"x"), Text(L"k-ONE.txt")});
    EXPECT_EQ(duplicate.errorNumber, 457);
    EXPECT_EQ(V_I4(Invoke(collection, L"Count", Call::Get).result.get()), 2);
    const auto noKey = Invoke(collection, L"Add", Call::Method, {Text(L"four.txt")});
    ASSERT_EQ(noKey.hr, S_OK);
    EXPECT_EQ(
        com::TextOf(V_BSTR(Invoke(V_DISPATCH(noKey.result.get()), L"Key", Call::Get).result.get())),
        L"");
    VariantClear(&keyText);
}

TEST(Values, AKeyCannotBeSetByAClient) {
    ComPtr<IDispatch> record;
    ServerDll::Get().Create<_clsBAFileInfo>(CLSID_clsBAFileInfo).As(&record);
    const auto put = Invoke(record.Get(), L"Key", Call::Put, {Text(L"mine")});
    EXPECT_TRUE(FAILED(put.hr));
    EXPECT_EQ(com::TextOf(V_BSTR(Invoke(record.Get(), L"Key", Call::Get).result.get())), L"");
}

}  // namespace
}  // namespace orv::test
