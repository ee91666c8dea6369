// The connection points of the two classes with events, as compiled clients use them:
// found by the event interface's id, enumerated, advised and unadvised.
#include <gtest/gtest.h>

#include "EventSink.h"
#include "ServerUnderTest.h"

namespace orv::test {
namespace {

TEST(ConnectionPoints, EachEventingClassHasOnePointForItsOwnEventInterface) {
    const struct {
        const char* name;
        const CLSID* classId;
        const IID* events;
        const IID* otherEvents;
    } cases[] = {
        {"BatchAnalyse", &CLSID_BatchAnalyse, &DIID___BatchAnalyse, &DIID___clsBATessera},
        {"clsBATessera", &CLSID_clsBATessera, &DIID___clsBATessera, &DIID___BatchAnalyse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto object = ServerDll::Get().Create<IUnknown>(*c.classId);
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(object.As(&container), S_OK);
        ComPtr<IConnectionPoint> point, other;
        ASSERT_EQ(container->FindConnectionPoint(*c.events, &point), S_OK);
        EXPECT_EQ(container->FindConnectionPoint(*c.otherEvents, &other), CONNECT_E_NOCONNECTION);
        IID iid{};
        point->GetConnectionInterface(&iid);
        EXPECT_TRUE(IsEqualIID(iid, *c.events));
        ComPtr<IConnectionPointContainer> back;
        point->GetConnectionPointContainer(&back);
        EXPECT_EQ(IdentityOf(back.Get()), IdentityOf(object.Get()));

        ComPtr<IEnumConnectionPoints> points;
        ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
        IConnectionPoint* listed[2] = {};
        ULONG fetched = 0;
        EXPECT_EQ(points->Next(2, listed, &fetched), S_FALSE);
        ASSERT_EQ(fetched, 1u);
        EXPECT_EQ(listed[0], point.Get());
        listed[0]->Release();

        EventSink sink(*c.events);
        ASSERT_EQ(sink.Connect(object.Get()), S_OK);
        EXPECT_GT(sink.references, 1u) << "the point holds the sink";
        EXPECT_EQ(sink.Disconnect(), S_OK);
        EXPECT_EQ(sink.references, 1u) << "and lets it go on Unadvise";
        EXPECT_EQ(point->Unadvise(12345), CONNECT_E_NOCONNECTION);
    }
}

TEST(ConnectionPoints, AClientHoldingOnlyThePointKeepsTheObjectAlive) {
    ComPtr<IConnectionPoint> point;
    {
        auto object = ServerDll::Get().Create<IConnectionPointContainer>(CLSID_BatchAnalyse);
        ASSERT_EQ(object->FindConnectionPoint(DIID___BatchAnalyse, &point), S_OK);
    }
    EXPECT_EQ(ServerDll::Get().CanUnloadNow(), S_FALSE);
    EventSink sink(DIID___BatchAnalyse);
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(static_cast<IDispatch*>(&sink), &cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    point.Reset();
    EXPECT_EQ(ServerDll::Get().CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace orv::test
