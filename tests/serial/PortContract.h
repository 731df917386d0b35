#pragma once

// What the serial port promises on every platform, one body for all. Each platform instantiates
// it with rigs: an OwnerSide whose resolver knows no port 0, and the far end of its line:
// Arrive(bytes) sends, Vanish() goes away, StartOnLine() opens port 1 on the monitoring thread
// and forgets the line so far, LineUntilClosed(awaitOutput) closes the port and returns what it
// put on the line, each purge of both directions as "~".
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "serial/OwnerQueue.h"
#include "serial/SerialOwner.h"
#include "serial/SerialPort.h"

namespace orvane::test {

using namespace std::chrono_literals;
inline constexpr auto kPatience = 10s;
inline constexpr int kRounds = 200;

// For what no event announces (a thread's end, its sleep): polls `done` every millisecond.
inline bool Eventually(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    return done();
}

// What the port hands over, "|" in `events` for each OnCtsChange; only `calls` is thread-safe.
struct RecordingOwner : ISerialOwner {
    void OnCtsChange(unsigned port) override {
        events += '|';
        ports.insert(port);
    }
    void OnReceiveChar(std::uint8_t byte, unsigned port) override {
        received += static_cast<char>(byte);
        events += static_cast<char>(byte);
        Called(port, byte);
    }
    void OnPortFailure(unsigned port) override {
        ++failures;
        Called(port, -1);
    }
    void Called(unsigned port, int event) {
        ports.insert(port);
        {
            const std::lock_guard lock(mutex);
            ++calls;
        }
        called.notify_all();
        if (hook) {
            hook(event);
        }
    }
    bool WaitForCalls(std::size_t count) {
        std::unique_lock lock(mutex);
        return called.wait_for(lock, kPatience, [&] { return calls >= count; });
    }

    std::string received;
    std::string events;
    std::set<unsigned> ports;
    int failures = 0;
    std::atomic<std::size_t> calls{0}; // bytes and failures
    std::mutex mutex;
    std::condition_variable called;
    std::function<void(int)> hook; // after each byte (its value) or failure (-1)
};

// The port, its owner, and the queue that stands for the owner's thread when asked for.
template <class Port>
struct OwnerSide {
    void Open(unsigned number, bool viaQueue = false) {
        throughQueue = viaQueue;
        port->SetOwnerExecutor(viaQueue ? queue.Executor() : OwnerExecutor());
        ASSERT_TRUE(port->OpenPort(&owner, number));
    }
    // Through the queue the test's thread is the owner's and runs each delivery as it comes.
    bool Await(std::size_t count) {
        if (!throughQueue) {
            return owner.WaitForCalls(count);
        }
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (owner.calls < count && std::chrono::steady_clock::now() < deadline) {
            queue.RunOne(std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()));
        }
        return owner.calls >= count;
    }

    RecordingOwner owner;
    OwnerQueue queue;
    std::unique_ptr<Port> port; // made by the rig, which destroys it first
    bool throughQueue = false;
};

template <class Rig>
class PortContract : public ::testing::Test {};
TYPED_TEST_SUITE_P(PortContract);

TYPED_TEST_P(PortContract, NothingWorksUntilAPortIsOpen) {
    TypeParam rig;
    EXPECT_FALSE(rig.port->OpenPort(&rig.owner, 0));
    EXPECT_EQ(rig.port->LastOpenFailure().error, DeviceOpenError::NotPresent);
    EXPECT_EQ(rig.port->LastOpenFailure().devicePath, "");
    EXPECT_FALSE(rig.port->OpenPort(nullptr, 1)) << "no owner";
    EXPECT_FALSE(rig.port->StartMonitor());
    EXPECT_FALSE(rig.port->RequestTransmission("AB"));
    EXPECT_TRUE(rig.port->OpenPort(&rig.owner, 1));
    EXPECT_EQ(rig.port->LastOpenFailure().error, DeviceOpenError::None);
    EXPECT_EQ(rig.owner.failures, 0);
}

TYPED_TEST_P(PortContract, DeliversRandomBytesCompleteAndInOrder) {
    for (const bool throughQueue : {false, true}) {
        SCOPED_TRACE(throughQueue ? "through the owner's queue" : "on the monitoring thread");
        TypeParam rig;
        rig.Open(4, throughQueue);
        ASSERT_TRUE(rig.port->StartMonitor());
        std::mt19937 generator(20261206);
        std::string sent(100000, '\0');
        std::generate(sent.begin(), sent.end(), [&] { return static_cast<char>(generator()); });
        std::jthread writer([&] { rig.Arrive(sent); });
        EXPECT_TRUE(rig.Await(sent.size()));
        rig.port->StopMonitor();
        EXPECT_TRUE(rig.owner.received == sent) << rig.owner.received.size() << " bytes arrived";
        EXPECT_EQ(rig.owner.ports, std::set<unsigned>{4});
    }
}

// A handler may stop the monitor, even on its first byte; no byte of the batch follows the stop.
// Through the queue the owner may also close the port on a failure.
TYPED_TEST_P(PortContract, HandlerMayStopTheMonitor) {
    for (const bool throughQueue : {false, true}) {
        SCOPED_TRACE(throughQueue ? "through the owner's queue" : "on the monitoring thread");
        TypeParam rig;
        rig.Open(5, throughQueue);
        rig.owner.hook = [&](int event) {
            event < 0 ? rig.port->ClosePort() : rig.port->StopMonitor();
        };
        for (int round = 1; round <= kRounds / 4; ++round) {
            ASSERT_TRUE(rig.port->StartMonitor());
            rig.Arrive("abc");
            ASSERT_TRUE(rig.Await(static_cast<std::size_t>(round)) &&
                        Eventually([&] { return !rig.port->IsThreadAlive(); }))
                << "round " << round;
            rig.queue.RunPending();
            ASSERT_EQ(rig.owner.received.size(), static_cast<std::size_t>(round));
        }
        if (throughQueue) {
            rig.Vanish();
            while (rig.owner.failures == 0) { // a byte left from the rounds may stop it once more
                ASSERT_TRUE(rig.port->StartMonitor());
                ASSERT_TRUE(rig.queue.RunOne(kPatience));
            }
            EXPECT_FALSE(rig.port->IsOpen());
            EXPECT_EQ(rig.owner.failures, 1);
        }
    }
}

// The owner stops, and at the end destroys the port, while its delivery waits: a late delivery
// must do nothing.
TYPED_TEST_P(PortContract, StopFromTheOwnerWhileItsDeliveryWaits) {
    TypeParam rig;
    rig.Open(2, true);
    for (int round = 0; round <= kRounds; ++round) {
        ASSERT_TRUE(rig.port->StartMonitor());
        rig.Arrive("x");
        ASSERT_TRUE(rig.queue.WaitPending(kPatience)) << "round " << round;
        round < kRounds ? rig.port->StopMonitor() : rig.port.reset();
        EXPECT_EQ(rig.queue.RunPending(), 1u);
    }
    EXPECT_EQ(rig.owner.events, "");
}

// Another thread stops while the owner's thread is busy taking bytes.
TYPED_TEST_P(PortContract, StopRacingARunningDelivery) {
    TypeParam rig;
    rig.Open(2, true);
    const std::jthread ownerThread([&](const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            rig.queue.RunOne(1ms);
        }
    });
    for (int round = 0; round < kRounds && !this->HasFailure(); ++round) {
        EXPECT_TRUE(rig.port->StartMonitor());
        const std::size_t calls = rig.owner.calls;
        rig.Arrive(std::string(512, 'r'));
        EXPECT_TRUE(rig.owner.WaitForCalls(calls + 1)) << "round " << round;
        rig.port->StopMonitor();
        EXPECT_FALSE(rig.port->IsThreadAlive());
    }
}

TYPED_TEST_P(PortContract, AFarEndGoingAwayIsReportedOnceAndThePortStaysOpen) {
    TypeParam rig;
    rig.Open(7);
    ASSERT_TRUE(rig.port->StartMonitor());
    rig.Arrive("z");
    ASSERT_TRUE(rig.Await(1));
    rig.Vanish();
    ASSERT_TRUE(rig.Await(2));
    EXPECT_TRUE(rig.port->RequestTransmission("after")) << "still open until the owner closes";
    std::this_thread::sleep_for(50ms); // time for a second report, which must not come
    rig.port->ClosePort();
    EXPECT_FALSE(rig.port->IsOpen() || rig.port->IsThreadAlive());
    EXPECT_EQ(rig.owner.events, "|z");
    EXPECT_EQ(rig.owner.failures, 1);
    EXPECT_EQ(rig.owner.ports, std::set<unsigned>{7});
}

TYPED_TEST_P(PortContract, PurgesBothDirectionsThenSendsExactlyTheText) {
    const std::string longest(CSerialPort::kMaxTransmitLength, 'L');
    const struct {
        const char* name;
        std::string text;
        bool accepted;
        std::string line;
    } cases[] = {
        {"AB", "AB", true, "~AB"},
        {"empty", "", true, "~"},
        {"ends at its zero", std::string("A\0", 2) + longest, true, "~A"},
        {"longest", longest, true, "~" + longest},
        {"too long", longest + "x", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        TypeParam rig;
        rig.StartOnLine();
        EXPECT_EQ(rig.port->RequestTransmission(c.text), c.accepted);
        EXPECT_EQ(rig.LineUntilClosed(c.accepted), c.line);
    }
}

REGISTER_TYPED_TEST_SUITE_P(PortContract, NothingWorksUntilAPortIsOpen,
                            DeliversRandomBytesCompleteAndInOrder, HandlerMayStopTheMonitor,
                            StopFromTheOwnerWhileItsDeliveryWaits, StopRacingARunningDelivery,
                            AFarEndGoingAwayIsReportedOnceAndThePortStaysOpen,
                            PurgesBothDirectionsThenSendsExactlyTheText);

} // namespace orvane::test
