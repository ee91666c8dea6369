// The stand-in as a running application: found in the running object table, with its main
// window, raising its event through the connection point; after Quit, gone in every way.
#include <gtest/gtest.h>

#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <algorithm>
#include <vector>

#include "com/client/ComObjectServices.h"
#include "com/client/VariantValues.h"
#include "com/standin/TesseraIds.h"
#include "standin/StandInFixture.h"

namespace orv::test {
namespace {

using com::LateBoundDispatch;

class StandInRunning : public StandInTest {};

Microsoft::WRL::ComPtr<IUnknown> Identity(IUnknown* object) {
    Microsoft::WRL::ComPtr<IUnknown> identity;
    object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf()));
    return identity;
}

TEST_F(StandInRunning, TheApplicationIsRunningWithItsWindowUntilItQuits) {
    const auto application = NewApplication();
    Microsoft::WRL::ComPtr<IUnknown> running;
    ASSERT_EQ(GetActiveObject(com::kTesseraApplicationClassId, nullptr, &running), S_OK);
    EXPECT_EQ(Identity(running.Get()).Get(), Identity(application.Get()).Get());
    running.Reset();
    EXPECT_NE(FindWindowW(L"Tessapp2Class", nullptr), nullptr);

    LateBoundDispatch(application).Call(L"Quit");
    EXPECT_EQ(std::count(World().log->begin(), World().log->end(), "Application.Quit"), 1);
    EXPECT_EQ(GetActiveObject(com::kTesseraApplicationClassId, nullptr, &running),
              MK_E_UNAVAILABLE);
    EXPECT_EQ(FindWindowW(L"Tessapp2Class", nullptr), nullptr);
}

TEST_F(StandInRunning, AfterQuitTheApplicationAndItsObjectsAnswerAsAServerThatHasGone) {
    const auto application = NewApplication();
    LateBoundDispatch client(application);
    const auto tm = com::ObjectOf(*client.Get(L"CurrentTM").get());
    const auto options = com::ObjectOf(*client.Get(L"GeneralOptions").get());
    InvokeByName(application.Get(), L"Quit", DISPATCH_METHOD);

    struct Case {
        IDispatch* object;
        const wchar_t* member;
        WORD flags;
    };
    const Case cases[] = {
        {application.Get(), L"CurrentTM", DISPATCH_PROPERTYGET},
        {application.Get(), L"Quit", DISPATCH_METHOD},
        {tm.Get(), L"IsOpen", DISPATCH_PROPERTYGET},
        {tm.Get(), L"Close", DISPATCH_METHOD},
        {options.Get(), L"MaximumHits", DISPATCH_PROPERTYGET},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InvokeByName(c.object, c.member, c.flags).status, RPC_E_DISCONNECTED);
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(application.As(&container), S_OK);
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(com::kBatchEventsInterfaceId, &point),
              RPC_E_DISCONNECTED);
    EXPECT_EQ(std::count(World().log->begin(), World().log->end(), "Application.Quit"), 1);
}

TEST_F(StandInRunning, TheCancelEventReachesASinkOfTheComponentsClient) {
    World().script.cancelWithProcessedFiles = 5;
    com::ComObjectServices services;
    const auto tessera = services.CreateTessera();
    ASSERT_TRUE(tessera);
    std::vector<int32_t> heard;
    auto subscription =
        tessera->OnBatchCancelledByUser.Subscribe([&](int32_t files) { heard.push_back(files); });

    Fake().OnBatchCancelledByUser.Raise(3);
    EXPECT_EQ(heard, std::vector<int32_t>{3});

    // Raised while the job runs: it arrives before ExecuteJobFile returns.
    tessera->get_CurrentTM()->ExecuteJobFile(L"C:\\jobs\\job.txt");
    EXPECT_EQ(heard, (std::vector<int32_t>{3, 5}));

    tessera->Quit();
    Fake().OnBatchCancelledByUser.Raise(9);
    EXPECT_EQ(heard, (std::vector<int32_t>{3, 5}));
}

TEST_F(StandInRunning, TheConnectionPointRefusesOtherEventInterfaces) {
    const auto application = NewApplication();
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(application.As(&container), S_OK);
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(com::kTessappTMId, &point), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(container->FindConnectionPoint(com::kBatchEventsInterfaceId, &point), S_OK);
    IID events{};
    ASSERT_EQ(point->GetConnectionInterface(&events), S_OK);
    EXPECT_TRUE(IsEqualIID(events, com::kBatchEventsInterfaceId));
    point.Reset();
    LateBoundDispatch(application).Call(L"Quit");
}

}  // namespace
}  // namespace orv::test
