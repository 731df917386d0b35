#include "SimulatorHost.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "Line.h"
#include "Pacer.h"

namespace orvane::sim {

namespace {

using Clock = std::chrono::steady_clock;

// Nobody reading the pseudo-terminal: look again this often.
constexpr std::chrono::milliseconds kReaderRecheck{100};
// Paced output: never wake more often than this; a burst makes up the rate.
constexpr std::chrono::milliseconds kShortestPacedWait{1};
// Unpaced output that nobody reads is dropped from the front beyond this.
constexpr std::size_t kPendingLimit = 1u << 20;
constexpr std::size_t kReadChunk = 4096;

// Converts between the wall clock and the controller's clock.
class TimeBase {
public:
    TimeBase(Clock::time_point start, double scale) : m_start(start), m_scale(scale) {}

    SimTime ToSim(Clock::time_point t) const {
        const double ms = std::chrono::duration<double, std::milli>(t - m_start).count();
        return SimTime(static_cast<SimTime::rep>(std::floor(ms * m_scale)));
    }
    // Rounded up, so that waking at the returned time finds the event due.
    Clock::time_point ToReal(SimTime s) const {
        const std::chrono::duration<double, std::milli> real(static_cast<double>(s.count()) /
                                                             m_scale);
        return m_start + std::chrono::ceil<Clock::duration>(real) + std::chrono::microseconds(1);
    }

private:
    Clock::time_point m_start;
    double m_scale;
};

timespec ToTimespec(Clock::duration d) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(d, Clock::duration::zero()))
            .count();
    return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

// One run's traffic on the line: what waits to be sent, pacing, and whether anyone
// is at the far end of a pseudo-terminal.
class LineSession {
public:
    LineSession(Line& line, const SimulatorOptions& options)
        : timeBase(Clock::now(), options.timeScale), m_line(line), m_unpaced(options.unpaced),
          m_pacer(Pacer::kLineBytesPerSecond * options.timeScale),
          m_readerPresent(!line.IsPseudoTerminal() || line.HasReader()) {}

    // Nobody at the far end of a pseudo-terminal: what they left unread goes, and so
    // does whatever is sent until someone opens it again.
    void CheckReader() {
        if (m_line.IsPseudoTerminal()) {
            const bool present = m_line.HasReader();
            if (m_readerPresent && !present) {
                m_line.DiscardUnread();
            }
            m_readerPresent = present;
        }
        if (!m_readerPresent) {
            pending.clear();
        }
    }

    void Transmit(Clock::time_point now) {
        if (pending.empty()) {
            return;
        }
        const std::size_t n = m_unpaced ? pending.size() : m_pacer.Take(now, pending.size());
        if (n > 0) {
            const ssize_t written = ::write(m_line.Fd(), pending.data(), n);
            if (written >= 0) {
                pending.erase(0, static_cast<std::size_t>(written));
            } else if (!WouldBlock(errno)) {
                LineLost(std::string("write failed: ") + std::strerror(errno));
            } else if (!m_unpaced) {
                pending.erase(0, n); // no room at the far end: those bytes are lost
            }
        }
        if (pending.size() > kPendingLimit) {
            pending.erase(0, pending.size() - kPendingLimit);
        }
    }

    Clock::time_point NextWake(Clock::time_point now, SimTime nextEvent) const {
        Clock::time_point wake = timeBase.ToReal(nextEvent);
        if (!pending.empty() && !m_unpaced) {
            wake = std::min(wake, std::max(m_pacer.NextDue(), now + kShortestPacedWait));
        }
        if (!m_readerPresent) {
            wake = std::min(wake, now + kReaderRecheck);
        }
        return wake;
    }

    // Waits for the line, the wake-up event or the time; returns what was received.
    std::string Wait(int wakeFd, Clock::time_point until) {
        const short lineEvents =
            static_cast<short>(POLLIN | (m_unpaced && !pending.empty() ? POLLOUT : 0));
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {m_readerPresent ? m_line.Fd() : -1, lineEvents, 0}};
        const timespec timeout = ToTimespec(until - Clock::now());
        if (::ppoll(fds, 2, &timeout, nullptr) < 0) {
            if (errno != EINTR) {
                failure = std::string("poll failed: ") + std::strerror(errno);
            }
            return {};
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto got = ::read(wakeFd, &count, sizeof count);
        }
        if (fds[1].revents & POLLIN) {
            char buffer[kReadChunk];
            const ssize_t got = ::read(m_line.Fd(), buffer, sizeof buffer);
            if (got > 0) {
                return std::string(buffer, static_cast<std::size_t>(got));
            }
            if (got == 0 || !WouldBlock(errno)) {
                LineLost("the line was hung up");
            }
        } else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            LineLost("the line was hung up");
        }
        return {};
    }

    const TimeBase timeBase;
    std::string pending; // bytes waiting to be sent
    std::string failure; // set when a device failed: the run ends

private:
    // A hung-up pseudo-terminal has lost its reader; a device that hangs up is gone.
    void LineLost(const std::string& why) {
        if (m_line.IsPseudoTerminal()) {
            m_readerPresent = false;
            m_line.DiscardUnread();
        } else {
            failure = why;
        }
    }

    Line& m_line;
    const bool m_unpaced;
    Pacer m_pacer;
    bool m_readerPresent;
};

void ApplyFaults(SimulatedController& controller, const SimulatorFaults& faults) {
    for (int f = 0; f < 4; ++f) {
        controller.Plant().SetFanFailed(f, faults.fanFailed[static_cast<std::size_t>(f)]);
    }
    for (int s = 0; s < 2; ++s) {
        controller.Plant().SetSensorFailed(s, faults.sensorFailed[static_cast<std::size_t>(s)]);
    }
    controller.SetStalled(faults.stalled);
    controller.SetGarbage(faults.garbage);
    controller.SetCorruptStore(faults.corruptRegister);
}

} // namespace

SimulatorHost::SimulatorHost() : m_wakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

SimulatorHost::~SimulatorHost() {
    Stop();
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
    }
}

StartResult SimulatorHost::Start(const SimulatorOptions& options) {
    std::lock_guard life(m_lifeMutex);
    EndThread();
    StartResult result;
    if (m_wakeFd < 0) {
        result.error = "cannot create the simulator's wake-up event";
        return result;
    }
    if (!(options.timeScale > 0) || !std::isfinite(options.timeScale)) {
        result.error = "the time scale must be a positive number";
        return result;
    }
    auto line = std::make_unique<Line>();
    result.error = options.devicePath.empty() ? line->OpenPseudoTerminal()
                                              : line->OpenDevice(options.devicePath);
    if (!result.error.empty()) {
        return result;
    }
    {
        std::lock_guard lock(m_mutex);
        m_controller = SimulatedController();
        if (options.configuration) {
            m_controller.SetConfiguration(*options.configuration);
        }
        ApplyFaults(m_controller, options.faults);
        for (int n = 0; n < 2; ++n) {
            m_controller.Plant().SetSwitchInput(n, options.switchHigh[static_cast<std::size_t>(n)]);
        }
        m_lastError.clear();
    }
    result.ok = true;
    result.path = line->Path();
    m_stopRequested = false;
    m_dropRequested = false;
    m_running = true;
    m_thread = std::thread(&SimulatorHost::Run, this, std::move(line), options);
    return result;
}

void SimulatorHost::Stop() {
    if (m_runnerId.load() == std::this_thread::get_id()) {
        m_stopRequested = true;
        return;
    }
    std::lock_guard life(m_lifeMutex);
    EndThread();
}

void SimulatorHost::DropLine() {
    m_dropRequested = true;
    Wake();
    if (m_runnerId.load() == std::this_thread::get_id()) {
        return;
    }
    std::lock_guard life(m_lifeMutex);
    EndThread();
}

void SimulatorHost::EndThread() {
    m_stopRequested = true;
    Wake();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_running = false;
}

std::string SimulatorHost::LastError() const {
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

RegisterImage SimulatorHost::Configuration() const {
    std::lock_guard lock(m_mutex);
    return m_controller.Configuration();
}

template <typename F>
void SimulatorHost::Change(F&& change) {
    {
        std::lock_guard lock(m_mutex);
        change(m_controller);
    }
    Wake();
}

void SimulatorHost::SetFanFailed(int fan, bool failed) {
    Change([&](SimulatedController& c) { c.Plant().SetFanFailed(fan - 1, failed); });
}

void SimulatorHost::SetSensorFailed(int sensor, bool failed) {
    Change([&](SimulatedController& c) { c.Plant().SetSensorFailed(sensor - 1, failed); });
}

void SimulatorHost::SetStalled(bool stalled) {
    Change([&](SimulatedController& c) { c.SetStalled(stalled); });
}

void SimulatorHost::SetGarbage(bool garbage) {
    Change([&](SimulatedController& c) { c.SetGarbage(garbage); });
}

void SimulatorHost::SetCorruptStore(std::optional<int> reg) {
    Change([&](SimulatedController& c) { c.SetCorruptStore(reg); });
}

void SimulatorHost::SetSwitchInput(int input, bool high) {
    Change([&](SimulatedController& c) { c.Plant().SetSwitchInput(input - 1, high); });
}

void SimulatorHost::HoldSensor(int sensor, std::optional<double> value) {
    Change([&](SimulatedController& c) { c.Plant().HoldSensor(sensor - 1, value); });
}

void SimulatorHost::Wake() const {
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_wakeFd, &one, sizeof one);
    }
}

void SimulatorHost::Run(std::unique_ptr<Line> line, const SimulatorOptions& options) {
    LineSession session(*line, options);
    std::uint64_t savedChanges = 0;
    m_runnerId = std::this_thread::get_id();
    {
        std::lock_guard lock(m_mutex);
        savedChanges = m_controller.ConfigurationChanges();
    }
    while (!m_stopRequested && !m_dropRequested && session.failure.empty()) {
        const Clock::time_point now = Clock::now();
        SimTime nextEvent;
        std::optional<RegisterImage> changed;
        {
            std::lock_guard lock(m_mutex);
            m_controller.AdvanceTo(session.timeBase.ToSim(now));
            session.pending += m_controller.TakeOutput();
            nextEvent = m_controller.NextEventTime();
            if (m_controller.ConfigurationChanges() != savedChanges) {
                savedChanges = m_controller.ConfigurationChanges();
                changed = m_controller.Configuration();
            }
        }
        if (changed && options.configurationChanged) {
            options.configurationChanged(*changed);
        }
        session.CheckReader();
        session.Transmit(now);
        const std::string received = session.Wait(m_wakeFd, session.NextWake(now, nextEvent));
        if (!received.empty()) {
            std::lock_guard lock(m_mutex);
            m_controller.Receive(received, session.timeBase.ToSim(Clock::now()));
        }
    }
    line->Close();
    m_runnerId = std::thread::id();
    if (!session.failure.empty()) {
        std::lock_guard lock(m_mutex);
        m_lastError = session.failure;
    }
    m_running = false;
}

} // namespace orvane::sim
