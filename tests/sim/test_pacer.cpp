// Paced output leaves at the line's rate on average, one byte at a time when the caller is on
// time, and an idle line saves up no more than a short burst.
#include <gtest/gtest.h>

#include "sim/Pacer.h"

using namespace orvane::sim;
using Clock = Pacer::Clock;
using namespace std::chrono_literals;

TEST(Pacer, OnTimeCallerSendsOneByteAtATime) {
    Pacer pacer(Pacer::kLineBytesPerSecond);
    const Clock::time_point t0{1h};
    EXPECT_EQ(pacer.Take(t0, 100), 1u);
    EXPECT_EQ(pacer.Take(t0, 99), 0u);
    EXPECT_EQ(pacer.Take(t0 + pacer.Interval() / 2, 99), 0u);
    EXPECT_EQ(pacer.NextDue(), t0 + pacer.Interval());
    EXPECT_EQ(pacer.Take(pacer.NextDue(), 99), 1u);
    EXPECT_EQ(pacer.Take(t0 + 10s, 0), 0u); // nothing waiting, nothing sent
}

TEST(Pacer, AverageRateHoldsForALateCaller) {
    for (double scale : {1.0, 10.0, 100.0}) {
        SCOPED_TRACE(scale);
        const double rate = Pacer::kLineBytesPerSecond * scale;
        Pacer pacer(rate);
        Clock::time_point t{1h};
        std::size_t sent = 0;
        // A caller that wakes every 1.7 ms for ten seconds, always with plenty waiting.
        for (int i = 0; i < 10'000 / 1.7; ++i) {
            sent += pacer.Take(t, 1'000'000);
            t += 1700us;
        }
        EXPECT_NEAR(static_cast<double>(sent), rate * 10.0, rate * 10.0 * 0.01);
    }
}

TEST(Pacer, IdleLineSavesNothingUp) {
    Pacer pacer(Pacer::kLineBytesPerSecond);
    const Clock::time_point t0{1h};
    pacer.Take(t0, 1);
    EXPECT_EQ(pacer.Take(t0 + 10s, 10'000), 1u);
    EXPECT_EQ(pacer.NextDue(), t0 + 10s + pacer.Interval());
}

TEST(Pacer, SlightlyLateCallerCatchesUp) {
    Pacer pacer(Pacer::kLineBytesPerSecond);
    const Clock::time_point t0{1h};
    pacer.Take(t0, 1);
    EXPECT_EQ(pacer.Take(t0 + pacer.Interval() * 3, 10'000), 3u);
    EXPECT_EQ(pacer.NextDue(), t0 + pacer.Interval() * 4);
}
