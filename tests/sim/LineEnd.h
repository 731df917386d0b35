#pragma once

// The far end of the simulator's line, as a host program would hold it: opened
// non-blocking, read with bounded waits.

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace orvane::sim::testing {

inline constexpr std::chrono::seconds kPatience{10};

class LineEnd {
public:
    explicit LineEnd(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
    explicit LineEnd(int fd) : m_fd(fd) {}
    ~LineEnd() { Close(); }
    LineEnd(const LineEnd&) = delete;
    LineEnd& operator=(const LineEnd&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return false;
            }
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
            } else {
                pollfd p{m_fd, POLLOUT, 0};
                ::poll(&p, 1, 100);
            }
        }
        return true;
    }

    // Reads until `done` holds for what was received (from the start), the line hangs
    // up, or the patience runs out. Returns whether `done` held.
    bool ReadUntil(const std::function<bool(const std::string&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!done(received)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                hungUp = true;
                return done(received);
            }
        }
        return true;
    }
    bool ReadUntilText(const std::string& text) {
        return ReadUntil([&](const std::string& r) { return r.find(text) != std::string::npos; });
    }

    std::string received;
    bool hungUp = false;

private:
    int m_fd = -1;
};

} // namespace orvane::sim::testing
