// A hand-off through the gate waits until the owner has run it, and an owner that cannot
// take hand-offs closes the gate instead of leaving the monitoring thread waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <new>

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
