#include "tessera/EventSource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orv {
namespace {

TEST(EventSource, MoveAssignmentEndsTheOldSubscription) {
    EventSource<int> source;
    std::string calls;
    Subscription held = source.Subscribe([&](int) { calls += 'a'; });
    Subscription other = source.Subscribe([&](int) { calls += 'b'; });
    held = std::move(other);
    source.Raise(1);
    EXPECT_EQ(calls, "b");
    EXPECT_EQ(source.SubscriberCount(), 1u);
}

TEST(EventSource, AHandlerMayUnsubscribeItselfOrAnotherWhileRaised) {
    EventSource<int> source;
    std::string calls;
    Subscription first, second, third;
    first = source.Subscribe([&](int) {
        calls += '1';
        second.reset();
        first.reset();
    });
    second = source.Subscribe([&](int) { calls += '2'; });
    third = source.Subscribe([&](int) { calls += '3'; });
    source.Raise(1);
    source.Raise(2);
    EXPECT_EQ(calls, "133");
}

TEST(EventSource, ASourceMayDieWhileItIsRaisedAndItsSubscriptionsEndHarmlesslyAfter) {
    auto source = std::make_unique<EventSource<int>>();
    int calls = 0;
    Subscription killer = source->Subscribe([&](int) {
        ++calls;
        source.reset();
    });
    Subscription after = source->Subscribe([&](int) { ++calls; });
    source->Raise(1);
    EXPECT_EQ(source, nullptr);
    EXPECT_GE(calls, 1);
    killer.reset();
    EXPECT_FALSE(killer.active());
}

}  // namespace
}  // namespace orv
