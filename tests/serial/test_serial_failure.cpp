// A device that vanishes is reported once, with its port number, without a crash and
// without the monitoring thread spinning on the dead descriptor.
#include <gtest/gtest.h>

#include <ctime>

#include "serial/OwnerQueue.h"
#include "tests/serial/PtyHarness.h"

namespace orvane::test {
namespace {

std::chrono::nanoseconds ProcessCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

TEST(SerialFailure, FarEndVanishingIsReportedOnceWithoutSpinning) {
    PseudoTerminal pty;
    RecordingOwner owner;
    CSerialPort port;
    port.SetPortResolver(pty.Resolver());
    ASSERT_TRUE(port.OpenPort(&owner, 7));
    ASSERT_TRUE(port.StartMonitor());
    ASSERT_TRUE(pty.Write("z"));
    ASSERT_TRUE(owner.WaitForBytes(1));

    pty.CloseMaster();
    ASSERT_TRUE(owner.WaitForFailure());
    EXPECT_EQ(owner.Ports().back(), 7u);

    // A thread that kept polling the hung-up descriptor would burn this whole window.
    const auto window = 300ms;
    const auto cpuBefore = ProcessCpuTime();
    std::this_thread::sleep_for(window);
    EXPECT_LT(ProcessCpuTime() - cpuBefore, window / 3);

    EXPECT_TRUE(port.RequestTransmission("after")) << "still open until the owner closes";
    EXPECT_TRUE(port.IsThreadAlive());
    RunBounded(10s, [&] { port.ClosePort(); });
    EXPECT_EQ(owner.Failures(), 1);
}

TEST(SerialFailure, OwnerMayCloseFromItsFailureHandler) {
    PseudoTerminal pty;
    RecordingOwner owner;
    OwnerQueue queue;
    CSerialPort port;
    port.SetPortResolver(pty.Resolver());
    port.SetOwnerExecutor(queue.Executor());
    owner.SetOnFailure([&] { port.ClosePort(); });
    ASSERT_TRUE(port.OpenPort(&owner, 5));
    ASSERT_TRUE(port.StartMonitor());

    pty.CloseMaster();
    RunBounded(10s, [&] {
        while (owner.Failures() == 0) {
            ASSERT_TRUE(queue.RunOne(kPatience));
        }
    });
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.IsThreadAlive());
    EXPECT_EQ(queue.RunPending(), 0u);
    EXPECT_EQ(owner.Failures(), 1);
    EXPECT_EQ(owner.Ports().back(), 5u);
}

} // namespace
} // namespace orvane::test
