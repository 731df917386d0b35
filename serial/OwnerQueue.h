#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "serial/SerialOwner.h"

namespace orvane {

// The owner's thread for a program without an event loop of its own (command-line tool,
// tests, benchmarks): other threads post callables, the owner runs them in order.
// The queue must outlive every port that uses its executor.
class OwnerQueue {
public:
    OwnerExecutor Executor();
    void Post(std::function<void()> call);
    // Waits at most `timeout` for a callable and runs it; false when none came.
    bool RunOne(std::chrono::milliseconds timeout);
    // Runs queued callables until none is left, without waiting; returns how many ran.
    std::size_t RunPending();
    std::size_t Pending() const;
    // Waits at most `timeout` until a callable is queued, without running it.
    bool WaitPending(std::chrono::milliseconds timeout) const;

private:
    bool TakeOne(std::function<void()>& call);

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_posted;
    std::deque<std::function<void()>> m_calls;
};

} // namespace orvane
