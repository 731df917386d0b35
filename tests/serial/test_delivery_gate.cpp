// A hand-off through the gate is synchronous until the gate closes; after that nothing
// queued runs, so a late callable never reaches a stopped or destroyed port.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

#include "serial/DeliveryGate.h"
#include "serial/OwnerQueue.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

TEST(DeliveryGate, WaitsUntilTheOwnerRanTheTask) {
    auto gate = std::make_shared<DeliveryGate>();
    OwnerQueue queue;
    std::atomic<int> ran{0};
    auto delivered = std::async(std::launch::async,
                                [&] { return gate->Deliver(queue.Executor(), [&] { ++ran; }); });
    ASSERT_TRUE(queue.WaitPending(10s));
    EXPECT_EQ(delivered.wait_for(50ms), std::future_status::timeout) << "returned before the run";
    EXPECT_EQ(queue.RunPending(), 1u);
    EXPECT_TRUE(delivered.get());
    EXPECT_EQ(ran, 1);
}

TEST(DeliveryGate, CloseFreesTheWaiterAndDisarmsTheQueuedTask) {
    auto gate = std::make_shared<DeliveryGate>();
    OwnerQueue queue;
    std::atomic<int> ran{0};
    auto delivered = std::async(std::launch::async,
                                [&] { return gate->Deliver(queue.Executor(), [&] { ++ran; }); });
    ASSERT_TRUE(queue.WaitPending(10s));
    gate->Close();
    ASSERT_EQ(delivered.wait_for(10s), std::future_status::ready);
    EXPECT_FALSE(delivered.get());
    gate.reset(); // the queued callable keeps what it needs alive
    EXPECT_EQ(queue.RunPending(), 1u);
    EXPECT_EQ(ran, 0);
}

TEST(DeliveryGate, WithoutExecutorRunsInPlaceAndNotWhenClosed) {
    auto gate = std::make_shared<DeliveryGate>();
    int ran = 0;
    EXPECT_TRUE(gate->Deliver(nullptr, [&] { ++ran; }));
    gate->Close();
    EXPECT_FALSE(gate->Deliver(nullptr, [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
}

TEST(DeliveryGate, AnExecutorThatThrowsClosesTheGate) {
    auto gate = std::make_shared<DeliveryGate>();
    int ran = 0;
    const OwnerExecutor broken = [](std::function<void()>) { throw std::bad_alloc(); };
    EXPECT_FALSE(gate->Deliver(broken, [&] { ++ran; }));
    EXPECT_FALSE(gate->IsOpen());
    EXPECT_EQ(ran, 0);
}

} // namespace
} // namespace orvane::test
