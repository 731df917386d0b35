#include "serial/posix/EventFlag.h"

#include <cstdint>

#include <sys/eventfd.h>
#include <unistd.h>

namespace orvane {

EventFlag::EventFlag() : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventFlag::~EventFlag() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

void EventFlag::Signal() {
    const std::uint64_t one = 1;
    // Only fails when the counter is saturated, and then the flag is set anyway.
    [[maybe_unused]] const auto written = write(m_fd, &one, sizeof one);
}

void EventFlag::Clear() {
    std::uint64_t count = 0;
    // EAGAIN means it was not set; nothing else can happen on a valid eventfd.
    [[maybe_unused]] const auto got = read(m_fd, &count, sizeof count);
}

} // namespace orvane
