#include "serial/DeliveryGate.h"

#include <utility>

namespace orvane {

bool DeliveryGate::Post(const OwnerExecutor& executor, std::function<void()> task) {
    if (!executor) {
        if (IsOpen()) {
            task();
        }
        return IsOpen();
    }
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!IsOpen()) {
            return false;
        }
        ticket = ++m_posted;
    }
    try {
        executor([self = shared_from_this(), ticket, task = std::move(task)] {
            self->Run(ticket, task);
        });
    } catch (...) {
        // An executor that cannot queue leaves no way to the owner: deliver nothing more.
        Close();
        return false;
    }
    return true;
}

bool DeliveryGate::Await() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !IsOpen() || m_finished >= m_posted; });
    return IsOpen();
}

void DeliveryGate::Close() {
    {
        std::lock_guard lock(m_mutex);
        m_open.store(false, std::memory_order_release);
    }
    m_changed.notify_all();
}

void DeliveryGate::Run(std::uint64_t ticket, const std::function<void()>& task) {
    if (!IsOpen()) {
        return;
    }
    task();
    {
        std::lock_guard lock(m_mutex);
        m_finished = ticket;
    }
    m_changed.notify_all();
}

} // namespace orvane
