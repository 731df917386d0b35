#pragma once

// Live records read as the host reads them, the controller's model on a clock of its own, and
// the far end of a running simulator's line.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "core/comms/ReplyParsers.h"
#include "sim/SimulatedController.h"
#include "sim/SimulatorHost.h"

namespace orvane::sim::testing {

using namespace std::chrono_literals;

// Every live record in a text, as the host finds them; the host itself looks only at the
// newest, these tests check them all.
inline std::vector<std::string> LiveRecords(const std::string& text) {
    const auto records = FindLiveRecords(text);
    return {records.begin(), records.end()};
}

// The host's split: fields end at ","; a field reaching 9 characters ends the split, so
// 14 fields back means none was longer than 8.
inline std::vector<std::string> SplitRecord(const std::string& record) {
    std::vector<std::string> fields;
    std::string current;
    for (std::size_t i = 0; i < record.size() && fields.size() < 14 && current.size() < 9; ++i) {
        if (record[i] == ',') {
            fields.push_back(std::exchange(current, {}));
        } else {
            current += record[i];
        }
    }
    return fields;
}

// A record's fields with the line feed that opens it dropped.
inline std::vector<std::string> Fields(const std::string& record) {
    return SplitRecord(record.starts_with('\n') ? record.substr(1) : record);
}

inline long UpTime(const std::string& record) {
    const auto fields = Fields(record);
    return fields.size() == 14 ? std::stol(fields[13]) : -1;
}

// The up time of the last record in the text; -1 when there is none.
inline long LastUpTime(const std::string& text) {
    const auto records = LiveRecords(text);
    return records.empty() ? -1 : UpTime(records.back());
}

inline RegisterImage TemplateImage() {
    RegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

// The registers agree; their checksum entries may not.
inline bool SameRegisters(const RegisterTexts& a, const RegisterTexts& b) {
    return std::equal(a.begin(), a.begin() + kRegisterCount, b.begin());
}

struct ControllerDriver {
    SimulatedController controller;
    SimTime now{0};
    std::string output;

    void Run(SimTime span) { Type("", span); }
    void Type(std::string_view keys, SimTime after = SimTime{0}) {
        controller.Receive(keys, now += after);
        output += controller.TakeOutput();
    }
    std::string Take() { return std::exchange(output, {}); }
};

inline constexpr std::chrono::seconds kPatience{10};

// Opened non-blocking, read with bounded waits.
class LineEnd {
public:
    explicit LineEnd(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
    explicit LineEnd(int fd) : m_fd(fd) {}
    ~LineEnd() { ::close(m_fd); }

    void Write(std::string_view bytes) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!bytes.empty() && std::chrono::steady_clock::now() < deadline) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            bytes.remove_prefix(n > 0 ? static_cast<std::size_t>(n) : 0);
            pollfd p{m_fd, POLLOUT, 0};
            ::poll(&p, 1, 20);
        }
    }
    // Reads until `done` holds for all received so far, the line hangs up, or the
    // patience runs out. Returns whether `done` held.
    bool ReadUntil(const std::function<bool(const std::string&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!done(received) && !hungUp && std::chrono::steady_clock::now() < deadline) {
            pollfd p{m_fd, POLLIN, 0};
            char buffer[4096];
            const ssize_t n = ::poll(&p, 1, 20) > 0 ? ::read(m_fd, buffer, sizeof buffer) : -1;
            if (n > 0) {
                received.append(buffer, static_cast<std::size_t>(n));
            }
            hungUp = n == 0 || (n < 0 && p.revents != 0 && errno != EAGAIN && errno != EINTR);
        }
        return done(received);
    }
    bool ReadUntilText(const std::string& text) {
        return ReadUntil([&](const std::string& r) { return r.find(text) != std::string::npos; });
    }
    bool ReadRecords(std::size_t n) {
        return ReadUntil([n](const std::string& r) { return LiveRecords(r).size() >= n; });
    }
    // Whether a record arriving from now on has the text in field `index`.
    bool ReadField(std::size_t index, const std::string& text) {
        const std::size_t mark = received.size();
        return ReadUntil([&](const std::string& r) {
            const auto records = LiveRecords(r.substr(mark));
            return std::any_of(records.begin(), records.end(), [&](const std::string& record) {
                return Fields(record).size() == 14 && Fields(record)[index] == text;
            });
        });
    }
    // Whether the line hangs up within the patience, as the host's port would notice.
    bool HangsUp() {
        ReadUntil([](const std::string&) { return false; });
        pollfd p{m_fd, POLLIN, 0};
        return hungUp && ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR)) != 0;
    }

    std::string received;
    bool hungUp = false;

private:
    int m_fd = -1;
};

} // namespace orvane::sim::testing
