// The engine registered as Tessera, driven by the component's server as a compiled client
// drives it: a cancel request made through the stand-in's application object (an engine
// extra, not a member of the component) stops the analysis, and the engine's event reaches
// the sink the client advised on BatchAnalyse, before Analyse returns.
#include <gtest/gtest.h>

#include <objbase.h>
#include <oleauto.h>

#include <filesystem>
#include <string>
#include <vector>

#include "EventSink.h"
#include "ServerUnderTest.h"
#include "com/standin/TesseraIds.h"
#include "support/LoadedServerDll.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

LoadedServerDll& EngineDll() {
    static LoadedServerDll dll(ORV_ENGINE_STANDIN_DLL);
    return dll;
}

class EngineCancel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ServerDll::Get().Register(), S_OK);
        ASSERT_TRUE(EngineDll().loaded());
        ASSERT_EQ(EngineDll().Register(), S_OK);
        for (const char* name : {"memory.tmx", "docs/guide.html", "docs/notes.txt"})
            fs::copy_file(fs::path(ORV_EXAMPLES_DIR) / name,
                          folder.path() / fs::path(name).filename());
    }
    void TearDown() override {
        EXPECT_EQ(EngineDll().Unregister(), S_OK);
        EXPECT_EQ(ServerDll::Get().Unregister(), S_OK);
    }

    // A BatchAnalyse, by its class id as a compiled client creates it, set up for the example.
    ComPtr<IDispatch> NewBatch() {
        ComPtr<IDispatch> ba;
        if (FAILED(CoCreateInstance(CLSID_BatchAnalyse, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IDispatch, &ba)))
            return nullptr;
        Invoke(ba.Get(), L"TranslationMemory", Call::Put, {Text(folder.wpath("memory.tmx"))});
        Invoke(ba.Get(), L"TranslationMemoryUserName", Call::Put, {Text(L"demo")});
        Invoke(ba.Get(), L"TranslationMemoryTargetLanguageId", Call::Put, {Long(1031)});
        Invoke(ba.Get(), L"LogFileName", Call::Put, {Text(folder.wpath("run.log"))});
        const auto files = Invoke(ba.Get(), L"Files", Call::Get);
        for (const char* name : {"guide.html", "notes.txt"})
            Invoke(files.result.get()->pdispVal, L"Add", Call::Method, {Text(folder.wpath(name))});
        return ba;
    }

    // The running application the component started, as any client looks it up.
    static ComPtr<IDispatch> RunningEngine() {
        ComPtr<IUnknown> running;
        ComPtr<IDispatch> application;
        if (SUCCEEDED(GetActiveObject(com::kTesseraApplicationClassId, nullptr, &running)))
            running.As(&application);
        return application;
    }

    TempFolder folder;
};

TEST_F(EngineCancel, TheEnginesCancelRequestReachesTheComponentsSinkAsItsEvent) {
    const ComPtr<IDispatch> ba = NewBatch();
    ASSERT_TRUE(ba);
    EventSink sink(DIID___BatchAnalyse);
    ASSERT_EQ(sink.Connect(ba.Get()), S_OK);
    ASSERT_EQ(Invoke(ba.Get(), L"StartTessera", Call::Method).hr, S_OK);
    const ComPtr<IDispatch> engine = RunningEngine();
    ASSERT_TRUE(engine) << "the engine is not in the running object table";
    ASSERT_EQ(Invoke(engine.Get(), L"RequestCancel", Call::Method).hr, S_OK);

    const auto analysed = Invoke(ba.Get(), L"Analyse", Call::Method);

    EXPECT_NE(analysed.hr, S_OK) << "a cancelled analysis is a failed one";
    EXPECT_EQ(sink.received, std::vector<int32_t>{0}) << "no document was done";
    // The request was there before the run: it stopped the run's opening of the TM.
    const auto failure = Invoke(engine.Get(), L"LastTmOpenFailure", Call::Get);
    ASSERT_EQ(failure.hr, S_OK);
    EXPECT_EQ(std::wstring(failure.result.get()->bstrVal), L"Batch cancelled by user");

    // The request stopped that analysis only: the next one runs to its end.
    const auto again = Invoke(ba.Get(), L"Analyse", Call::Method);
    EXPECT_EQ(again.hr, S_OK) << Narrow(again.description);
    EXPECT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(Invoke(ba.Get(), L"CloseTessera", Call::Method).hr, S_OK);
    EXPECT_EQ(sink.Disconnect(), S_OK);
}

}  // namespace
}  // namespace orv::test

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
