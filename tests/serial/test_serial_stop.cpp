// Stopping never hangs, also when the owner's thread stops the port while a delivery to
// that same thread is in flight, and a delivery that runs after the stop does nothing.
#include <gtest/gtest.h>

#include <memory>

#include "serial/OwnerQueue.h"
#include "tests/serial/PtyHarness.h"

namespace orvane::test {
namespace {

constexpr int kRounds = 200;

class SerialStop : public ::testing::Test {
protected:
    void SetUp() override {
        port->SetPortResolver(pty.Resolver());
        port->SetOwnerExecutor(queue.Executor());
        ASSERT_TRUE(port->OpenPort(&owner, 2));
    }
    PseudoTerminal pty;
    RecordingOwner owner;
    OwnerQueue queue; // outlives the port
    std::unique_ptr<CSerialPort> port = std::make_unique<CSerialPort>();
};

TEST_F(SerialStop, ReturnsAtOnceWhenNothingRuns) {
    RunBounded(10s, [&] {
        CSerialPort idle;
        idle.StopMonitor();
        EXPECT_FALSE(idle.IsThreadAlive());
        port->StopMonitor();
        port->StopMonitor();
        EXPECT_TRUE(port->IsOpen());
    });
}

// The test thread is the owner's thread: it holds the delivery unrun and stops.
TEST_F(SerialStop, StopFromTheOwnerWhileItsDeliveryWaits) {
    RunBounded(60s, [&] {
        for (int round = 0; round < kRounds; ++round) {
            ASSERT_TRUE(port->StartMonitor());
            ASSERT_TRUE(port->IsThreadAlive());
            ASSERT_TRUE(pty.Write("x"));
            ASSERT_TRUE(queue.WaitPending(kPatience)) << "round " << round;
            port->StopMonitor();
            EXPECT_FALSE(port->IsThreadAlive());
            EXPECT_EQ(queue.RunPending(), 1u);
        }
    });
    EXPECT_EQ(owner.Received(), "") << "a delivery abandoned by a stop must do nothing";
}

TEST_F(SerialStop, StopFromInsideTheOwnersHandler) {
    owner.SetOnByte([&](std::uint8_t) { port->StopMonitor(); });
    RunBounded(60s, [&] {
        for (int round = 1; round <= kRounds / 4; ++round) {
            ASSERT_TRUE(port->StartMonitor());
            ASSERT_TRUE(pty.Write("abc"));
            while (port->IsThreadAlive()) {
                ASSERT_TRUE(queue.RunOne(kPatience)) << "round " << round;
            }
            queue.RunPending();
            ASSERT_EQ(owner.Received().size(), static_cast<std::size_t>(round))
                << "no byte after the stop";
        }
    });
}

TEST_F(SerialStop, DestroyingThePortAbandonsItsQueuedDelivery) {
    RunBounded(10s, [&] {
        ASSERT_TRUE(port->StartMonitor());
        ASSERT_TRUE(pty.Write("x"));
        ASSERT_TRUE(queue.WaitPending(kPatience));
        port.reset();
        EXPECT_EQ(queue.RunPending(), 1u);
    });
    EXPECT_EQ(owner.Received(), "");
}

// Another thread stops while the owner's thread is busy taking bytes.
TEST_F(SerialStop, StopRacingARunningDelivery) {
    std::atomic<bool> running{true};
    std::thread ownerThread([&] {
        while (running) {
            queue.RunOne(1ms);
        }
    });
    std::thread writer([&] {
        const std::string burst(512, 'r');
        while (running) {
            if (write(pty.Master(), burst.data(), burst.size()) < 0) {
                pollfd wait{pty.Master(), POLLOUT, 0};
                poll(&wait, 1, 10);
            }
        }
    });
    RunBounded(60s, [&] {
        for (int round = 0; round < kRounds; ++round) {
            ASSERT_TRUE(port->StartMonitor());
            ASSERT_TRUE(owner.WaitForBytes(owner.Received().size() + 1)) << "round " << round;
            port->StopMonitor();
            ASSERT_FALSE(port->IsThreadAlive());
        }
    });
    running = false;
    writer.join();
    ownerThread.join();
}

} // namespace
} // namespace orvane::test
