#pragma once

namespace orvane {

// A manual-reset event on an eventfd, so that poll can wait on it beside the port.
class EventFlag {
public:
    EventFlag();
    ~EventFlag();
    EventFlag(const EventFlag&) = delete;
    EventFlag& operator=(const EventFlag&) = delete;

    bool IsValid() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    void Signal();
    void Clear();

private:
    int m_fd = -1;
};

} // namespace orvane
