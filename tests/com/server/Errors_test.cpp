// Errors as clients see them: the component's number in the HRESULT (0x800A0000 + number),
// its description and source unchanged in the error info, for compiled clients (HRESULT and
// IErrorInfo) and script clients (EXCEPINFO through IDispatch) alike.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ServerUnderTest.h"

namespace orv::test {
namespace {

const std::wstring kRequired =
    L"\r\nRequired properties are:\r\n1. path to tm; 2. user name; 3. target language\r\nor\r\n"
    L"1. source language; 2. target language (with CreateEmptyTM = true)";

TEST(Errors, TheValidationErrorsReachBothKindsOfClientWithNumberAndDescription) {
    wchar_t existing[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, existing, MAX_PATH);  // a file that exists: this program
    const struct {
        const char* name;
        std::function<void(IDispatch*)> arrange;
        int32_t number;
        std::wstring description;
    } cases[] = {
        {"nothing set", [](IDispatch*) {}, 40013, L"No translation memory specified." + kRequired},
        {"missing TM file",
         [](IDispatch* b) {
             Invoke(b, L"TranslationMemory", Call::Put, {Text(L"Z:\\no\\such.tmv")});
         },
         40015, L"Translation memory doesn't exist."},
        {"no user name",
         [&](IDispatch* b) { Invoke(b, L"TranslationMemory", Call::Put, {Text(existing)}); }, 40014,
         L"No user name specified." + kRequired},
        {"no target language",
         [&](IDispatch* b) {
             Invoke(b, L"TranslationMemory", Call::Put, {Text(existing)});
             Invoke(b, L"TranslationMemoryUserName", Call::Put, {Text(L"me")});
         },
         40012, L"No target language specified." + kRequired},
        {"empty TM without source language",
         [](IDispatch* b) { Invoke(b, L"CreateEmptyTM", Call::Put, {Bool(true)}); }, 40011,
         L"No source language specified." + kRequired},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto batch = ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse);
        ComPtr<IDispatch> dispatch;
        batch.As(&dispatch);
        c.arrange(dispatch.Get());

        const auto scripted = Invoke(dispatch.Get(), L"Analyse", Call::Method);
        EXPECT_EQ(scripted.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(scripted.errorNumber, c.number);
        EXPECT_EQ(scripted.description, c.description);
        EXPECT_EQ(scripted.source, L"") << "the component's own errors carry no source";

        VARIANT_BOOL analysed = VARIANT_TRUE;
        const HRESULT compiled = batch->Analyse(&analysed);
        EXPECT_EQ(compiled, static_cast<HRESULT>(0x800A0000u + static_cast<uint32_t>(c.number)));
        EXPECT_EQ(TakeErrorInfo(), std::pair(std::wstring(), c.description));
    }
}

TEST(Errors, CollectionAndConversionErrorsCarryTheRuntimeNumberAndSource) {
    auto batch = ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse);
    ComPtr<_Files> files;
    ASSERT_EQ(batch->get_Files(&files), S_OK);
    ComPtr<_clsBAFileInfo> record;
    EXPECT_EQ(files->Item(Long(1), &record), static_cast<HRESULT>(0x800A0009));
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(TakeErrorInfo(),
              std::pair(std::wstring(L"OrvBatchAnalyse"), std::wstring(L"Subscript out of range")));

    // The collection is unharmed by the failed call.
    LONG count = -1;
    EXPECT_EQ(files->get_Count(&count), S_OK);
    EXPECT_EQ(count, 0);
}

TEST(Errors, NullOutPointersAreRefusedWithoutACrash) {
    auto batch = ServerDll::Get().Create<_BatchAnalyse>(CLSID_BatchAnalyse);
    EXPECT_EQ(batch->get_Files(nullptr), E_POINTER);
    EXPECT_EQ(batch->Analyse(nullptr), E_POINTER);
    EXPECT_EQ(batch->get_TranslationMemory(nullptr), E_POINTER);
    ComPtr<_Files> files;
    batch->get_Files(&files);
    EXPECT_EQ(files->get_NewEnum(nullptr), E_POINTER);
    EXPECT_EQ(files->Add(nullptr, nullptr, nullptr), E_POINTER);
    ComPtr<_clsBAFileInfo> added;
    EXPECT_EQ(files->Add(nullptr, nullptr, &added), S_OK) << "a null BSTR is the empty text";
}

}  // namespace
}  // namespace orv::test
