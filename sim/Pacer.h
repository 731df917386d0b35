#pragma once

#include <chrono>
#include <cstddef>

namespace orvane::sim {

// Lets bytes leave at a line's rate: at 9600 baud, 8N1, one byte every 1/960 s.
// A caller a little late may send a few bytes at once so that the average rate holds;
// after an idle spell the first byte leaves at once and the next one an interval later.
class Pacer {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr double kLineBytesPerSecond = 960.0;

    explicit Pacer(double bytesPerSecond);

    // How many of the `waiting` bytes may leave at `now`; counts them as sent.
    std::size_t Take(Clock::time_point now, std::size_t waiting);
    // When the next byte may leave.
    Clock::time_point NextDue() const { return m_next; }
    Clock::duration Interval() const { return m_interval; }

private:
    Clock::duration m_interval;
    std::size_t m_burst;
    Clock::time_point m_next{};
};

} // namespace orvane::sim
