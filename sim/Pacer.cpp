#include "Pacer.h"

#include <algorithm>

namespace orvane::sim {

namespace {

// A waking thread is a few milliseconds late at worst; the burst covers that much.
// Later than that, the line was idle and starts afresh with one byte.
constexpr std::chrono::milliseconds kBurstSpan{8};

} // namespace

Pacer::Pacer(double bytesPerSecond)
    : m_interval(std::max<Clock::duration>(
          std::chrono::duration_cast<Clock::duration>(
              std::chrono::duration<double>(1.0 / std::max(bytesPerSecond, 1e-3))),
          Clock::duration(1))),
      m_burst(std::max<std::size_t>(4, static_cast<std::size_t>(kBurstSpan / m_interval))) {}

std::size_t Pacer::Take(Clock::time_point now, std::size_t waiting) {
    if (waiting == 0 || now < m_next) {
        return 0;
    }
    if (now - m_next > kBurstSpan) {
        m_next = now;
    }
    const auto late = static_cast<std::size_t>((now - m_next) / m_interval);
    const std::size_t n = std::min({waiting, 1 + late, m_burst});
    m_next += m_interval * static_cast<Clock::rep>(n);
    if (m_next < now) {
        m_next = now;
    }
    return n;
}

} // namespace orvane::sim
