// Over a real line records arrive whole at the scaled pace; a dropped line hangs up the far end.
#include <gtest/gtest.h>

#include "SimHarness.h"
#include "sim/Pacer.h"

using namespace orvane;
using namespace orvane::sim;
using namespace orvane::sim::testing;

// Paced bytes leave singly on time, a few when late, no burst after idling, at the line's rate.
TEST(Pacer, KeepsTheLinesRate) {
    Pacer pacer(Pacer::kLineBytesPerSecond);
    const auto interval = pacer.Interval();
    const Pacer::Clock::time_point t0{1h};
    EXPECT_EQ(pacer.Take(t0, 100) + pacer.Take(t0 + interval / 2, 99), 1u);
    EXPECT_EQ(pacer.Take(t0 + interval * 3, 10'000), 3u);
    EXPECT_EQ(pacer.Take(t0 + 10s, 0) + pacer.Take(t0 + 10s, 9) +
                  pacer.Take(t0 + 10s + interval / 2, 9),
              1u);
    for (double scale : {1.0, 10.0, 100.0}) { // a caller waking every 1.7 ms, plenty waiting
        const double rate = Pacer::kLineBytesPerSecond * scale;
        Pacer scaled(rate);
        std::size_t sent = 0;
        for (auto t = t0; t < t0 + 10s; t += 1700us) {
            sent += scaled.Take(t, 1'000'000);
        }
        EXPECT_NEAR(static_cast<double>(sent), rate * 10, rate * 10 * 0.01) << "scale " << scale;
    }
}

TEST(SimulatorHost, PacedRecordsFollowTheTimeScaleReadersComeAndGoADroppedLineHangsUp) {
    SimulatorHost host;
    SimulatorOptions options;
    options.timeScale = 100;
    const StartResult started = host.Start(options);
    ASSERT_TRUE(started.ok) << started.error;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(LineEnd(started.path).ReadRecords(2)) << "round " << round;
    }
    LineEnd far(started.path);
    ASSERT_TRUE(far.ReadRecords(40)); // forty seconds at the normal pace; the patience is ten
    const auto records = LiveRecords(far.received);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(Fields(records[i]).size(), 14u) << records[i];
        EXPECT_TRUE(i == 0 || UpTime(records[i]) > UpTime(records[i - 1])) << records[i];
    }
    host.DropLine();
    EXPECT_FALSE(host.IsRunning());
    EXPECT_TRUE(far.HangsUp());
    const StartResult again = host.Start(options); // a new start gives a new line
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_TRUE(LineEnd(again.path).ReadRecords(1));
    options.timeScale = 0; // what it cannot run it refuses
    EXPECT_FALSE(host.Start(options).ok);
    options = SimulatorOptions{};
    options.devicePath = "/nonexistent/ttyS99";
    EXPECT_FALSE(host.Start(options).error.empty() || host.IsRunning());
}
