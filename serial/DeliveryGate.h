#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "serial/SerialOwner.h"

namespace orvane {

// Synchronous hand-off from the monitoring thread to the owner's thread that a stop can
// always break. One gate serves one run of a monitoring thread; once closed it stays
// closed, and a callable that the owner's queue runs later does nothing. Callables hold
// the gate by shared pointer, so they never touch the port, which may be gone by then.
class DeliveryGate : public std::enable_shared_from_this<DeliveryGate> {
public:
    // Runs `task` on the owner's thread through `executor` (or here, when there is no
    // executor) and waits until it has run or the gate is closed. True when it ran and
    // the gate is still open.
    bool Deliver(const OwnerExecutor& executor, std::function<void()> task) {
        return Post(executor, std::move(task)) && Await();
    }
    // The two halves of Deliver, so that the caller can do something else (rest) while
    // the owner runs the task. Post is false when the gate is closed or cannot queue;
    // Await waits for everything posted so far and is true when the gate is still open.
    bool Post(const OwnerExecutor& executor, std::function<void()> task);
    bool Await();
    // Any thread; wakes a waiting Deliver. A task already running finishes the step it
    // is in; tasks check IsOpen between steps.
    void Close();
    bool IsOpen() const { return m_open.load(std::memory_order_acquire); }

private:
    void Run(std::uint64_t ticket, const std::function<void()>& task);

    std::atomic<bool> m_open{true};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint64_t m_posted = 0;
    std::uint64_t m_finished = 0;
};

} // namespace orvane
