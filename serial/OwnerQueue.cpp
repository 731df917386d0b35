#include "serial/OwnerQueue.h"

#include <utility>

namespace orvane {

OwnerExecutor OwnerQueue::Executor() {
    return [this](std::function<void()> call) { Post(std::move(call)); };
}

void OwnerQueue::Post(std::function<void()> call) {
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    m_posted.notify_all();
}

bool OwnerQueue::RunOne(std::chrono::milliseconds timeout) {
    std::function<void()> call;
    {
        std::unique_lock lock(m_mutex);
        if (!m_posted.wait_for(lock, timeout, [&] { return !m_calls.empty(); })) {
            return false;
        }
        call = std::move(m_calls.front());
        m_calls.pop_front();
    }
    call();
    return true;
}

std::size_t OwnerQueue::RunPending() {
    std::size_t ran = 0;
    std::function<void()> call;
    while (TakeOne(call)) {
        call();
        ++ran;
    }
    return ran;
}

std::size_t OwnerQueue::Pending() const {
    std::lock_guard lock(m_mutex);
    return m_calls.size();
}

bool OwnerQueue::WaitPending(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_posted.wait_for(lock, timeout, [&] { return !m_calls.empty(); });
}

bool OwnerQueue::TakeOne(std::function<void()>& call) {
    std::lock_guard lock(m_mutex);
    if (m_calls.empty()) {
        return false;
    }
    call = std::move(m_calls.front());
    m_calls.pop_front();
    return true;
}

} // namespace orvane
