#include "standin/StandInFixture.h"

#include <objbase.h>

#include <algorithm>

#include "com/automation/Adopt.h"
#include "com/client/VariantValues.h"
#include "com/standin/TesseraIds.h"

namespace orv::test {

LoadedServerDll& FakeStandInDll() {
    static LoadedServerDll* dll = new LoadedServerDll(ORV_FAKE_STANDIN_DLL);
    return *dll;
}

FakeWorld& World() {
    static FakeWorld* world = [] {
        const auto entry = reinterpret_cast<FakeWorldEntry>(
            reinterpret_cast<void*>(FakeStandInDll().Entry(kFakeWorldEntry)));
        return entry ? entry() : new FakeWorld;
    }();
    return *world;
}

void StandInTest::TearDown() {
    // Every application still running is ended, as a test that failed half-way leaves it.
    Microsoft::WRL::ComPtr<IUnknown> running;
    while (SUCCEEDED(GetActiveObject(com::kTesseraApplicationClassId, nullptr, &running))) {
        Microsoft::WRL::ComPtr<IDispatch> application;
        running.As(&application);
        running.Reset();
        if (!application) break;
        if (FAILED(InvokeByName(application.Get(), L"Quit", DISPATCH_METHOD).status)) break;
    }
}

Microsoft::WRL::ComPtr<IDispatch> StandInTest::NewApplication() {
    CLSID classId{};
    EXPECT_EQ(CLSIDFromProgID(com::kTesseraProgId, &classId), S_OK);
    Microsoft::WRL::ComPtr<IDispatch> application;
    EXPECT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(application.GetAddressOf())),
              S_OK);
    return application;
}

bool StandInTest::Logged(const std::string& call) {
    const auto& log = *World().log;
    return std::find(log.begin(), log.end(), call) != log.end();
}

com::DispatchArguments CreateTMArguments(const std::wstring& path, int32_t sourceLanguage,
                                         int32_t targetLanguage) {
    using com::VariantFrom;
    com::DispatchArguments arguments;
    arguments.Add(VariantFrom(path)).Add(VariantFrom(L""));
    arguments.Add(VariantFrom(sourceLanguage)).Add(VariantFrom(L""));
    arguments.Add(VariantFrom(targetLanguage)).Add(VariantFrom(L""));
    for (int i = 0; i < 7; ++i) arguments.Add(VariantFrom(int32_t{-1}));
    for (int i = 0; i < 3; ++i) arguments.Add(VariantFrom(L""));
    return arguments;
}

com::LateBoundDispatch StandInTest::Child(const com::LateBoundDispatch& object,
                                          const std::wstring& name) {
    const com::OwnedVariant value = object.Get(name);
    return com::LateBoundDispatch(com::ObjectOf(*value.get()));
}

RawCall::~RawCall() {
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

RawCall InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* arguments,
                     UINT count) {
    RawCall call;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    call.status = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(call.status)) return call;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{arguments, nullptr, count, 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &put;
        parameters.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    call.status = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, &result,
                                 &call.exception, nullptr);
    VariantClear(&result);
    return call;
}

}  // namespace orv::test
