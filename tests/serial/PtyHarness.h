#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include "serial/SerialOwner.h"
#include "serial/SerialPort.h"

namespace orvane::test {

using namespace std::chrono_literals;
constexpr auto kPatience = 10s;

// A pseudo-terminal whose slave the port opens; the test plays the far end on the master.
class PseudoTerminal {
public:
    PseudoTerminal() : m_master(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_slavePath = ptsname(m_master);
        }
    }
    ~PseudoTerminal() { CloseMaster(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int Master() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }
    CSerialPort::PortResolver Resolver() const {
        return [path = m_slavePath](unsigned) { return std::optional<std::string>(path); };
    }
    void CloseMaster() {
        if (m_master >= 0) {
            close(m_master);
            m_master = -1;
        }
    }

    bool Write(std::string_view bytes) const {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!bytes.empty() && std::chrono::steady_clock::now() < deadline) {
            const ssize_t put = write(m_master, bytes.data(), bytes.size());
            if (put > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(put));
            } else {
                pollfd wait{m_master, POLLOUT, 0};
                poll(&wait, 1, 100);
            }
        }
        return bytes.empty();
    }

    // Reads until `count` bytes came or the patience ran out.
    std::string Read(std::size_t count) const {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            char chunk[4096];
            const ssize_t n = read(m_master, chunk, std::min(sizeof chunk, count - got.size()));
            if (n > 0) {
                got.append(chunk, static_cast<std::size_t>(n));
            } else {
                pollfd wait{m_master, POLLIN, 0};
                poll(&wait, 1, 100);
            }
        }
        return got;
    }

private:
    int m_master = -1;
    std::string m_slavePath;
};

// Records what the port hands over; "|" marks each OnCtsChange in Events().
class RecordingOwner : public ISerialOwner {
public:
    // Hooks run after the call was recorded, on the thread that delivered it.
    void SetOnByte(std::function<void(std::uint8_t)> hook) {
        std::lock_guard lock(m_mutex);
        m_onByte = std::move(hook);
    }
    void SetOnFailure(std::function<void()> hook) {
        std::lock_guard lock(m_mutex);
        m_onFailure = std::move(hook);
    }

    void OnCtsChange(unsigned port) override {
        std::lock_guard lock(m_mutex);
        m_events += '|';
        m_ports.push_back(port);
    }
    void OnReceiveChar(std::uint8_t byte, unsigned port) override {
        std::function<void(std::uint8_t)> hook;
        {
            std::lock_guard lock(m_mutex);
            m_received += static_cast<char>(byte);
            m_events += static_cast<char>(byte);
            m_ports.push_back(port);
            hook = m_onByte;
        }
        m_changed.notify_all();
        if (hook) {
            hook(byte);
        }
    }
    void OnPortFailure(unsigned port) override {
        std::function<void()> hook;
        {
            std::lock_guard lock(m_mutex);
            ++m_failures;
            m_ports.push_back(port);
            hook = m_onFailure;
        }
        m_changed.notify_all();
        if (hook) {
            hook();
        }
    }

    bool WaitForBytes(std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [&] { return m_received.size() >= count; });
    }
    bool WaitForFailure() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [&] { return m_failures > 0; });
    }
    std::string Received() const {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    std::string Events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    std::vector<unsigned> Ports() const {
        std::lock_guard lock(m_mutex);
        return m_ports;
    }
    int Failures() const {
        std::lock_guard lock(m_mutex);
        return m_failures;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_received;
    std::string m_events;
    std::vector<unsigned> m_ports;
    int m_failures = 0;
    std::function<void(std::uint8_t)> m_onByte;
    std::function<void()> m_onFailure;
};

// Runs `body` and ends the test program if it does not return in time, so that a hang
// fails the run instead of stalling it.
inline void RunBounded(std::chrono::seconds limit, const std::function<void()>& body) {
    std::promise<void> done;
    auto finished = done.get_future();
    std::thread watchdog([&finished, limit] {
        if (finished.wait_for(limit) == std::future_status::timeout) {
            std::fputs("watchdog: the serial port hung\n", stderr);
            std::_Exit(EXIT_FAILURE);
        }
    });
    body();
    done.set_value();
    watchdog.join();
}

// The descriptor through which this process holds `path` open, or -1.
inline int FindOpenDescriptor(const std::string& path) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == path) {
            return std::stoi(entry.path().filename().string());
        }
    }
    return -1;
}

} // namespace orvane::test
