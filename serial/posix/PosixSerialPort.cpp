#include "serial/posix/PosixSerialPort.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

#include <poll.h>
#include <pthread.h>

#include "serial/posix/SerialDevice.h"

namespace orvane {

namespace {

// The port whose monitoring thread this is, if any. A stop from inside a callback
// recognises itself through this, without reading m_thread while it is still being
// assigned by the thread that started us.
thread_local const PosixSerialPort* t_monitoredPort = nullptr;

// While fewer bytes than this arrive per gather window, a wake-up waits the window for
// more before handing over; faster input is handed over at once, so bulk is never slowed.
constexpr std::size_t kGatherThreshold = 256;
constexpr std::size_t kMaxHandOff = std::size_t{64} * 1024;
// Write time-out of the line: a constant plus so much per byte.
constexpr std::chrono::milliseconds kWriteTimeoutConstant{1000};
constexpr std::chrono::milliseconds kWriteTimeoutPerByte{1000};

constexpr short kGone = POLLERR | POLLHUP | POLLNVAL;

} // namespace

PosixSerialPort::PosixSerialPort() = default;

PosixSerialPort::~PosixSerialPort() {
    ClosePort();
}

void PosixSerialPort::SetPortResolver(PortResolver resolver) {
    m_resolver = std::move(resolver);
}

void PosixSerialPort::SetOwnerExecutor(OwnerExecutor executor) {
    m_executor = std::move(executor);
}

void PosixSerialPort::SetGatherWindow(std::chrono::microseconds window) {
    m_gatherWindow = std::max(window, std::chrono::microseconds::zero());
}

bool PosixSerialPort::OpenPort(ISerialOwner* owner, unsigned portNumber) {
    ClosePort();
    m_openFailure = {DeviceOpenError::Other, {}, 0, {}};
    if (owner == nullptr || !m_resolver || !m_shutdown.IsValid() || !m_writeRequest.IsValid()) {
        return false;
    }
    std::optional<std::string> path;
    try {
        path = m_resolver(portNumber);
    } catch (...) {
        return false;
    }
    if (!path) {
        m_openFailure.error = DeviceOpenError::NotPresent;
        return false;
    }
    const DeviceOpenOutcome opened = OpenSerialDevice(*path);
    if (opened.fd < 0) {
        m_openFailure = {opened.error, *path, opened.systemError,
                         opened.error == DeviceOpenError::PermissionDenied
                             ? DeviceAccessGroup(*path)
                             : std::string{}};
        return false;
    }
    m_openFailure = {};
    std::lock_guard lock(m_mutex);
    m_fd = opened.fd;
    m_owner = owner;
    m_portNumber = portNumber;
    m_transmitBuffer.fill('\0');
    m_transmitPending = false;
    m_writeRequest.Clear();
    return true;
}

bool PosixSerialPort::StartMonitor() {
    if (m_thread.joinable()) {
        if (IsThreadAlive() && m_run.gate->IsOpen()) {
            return true;
        }
        StopMonitor();
    }
    int fd = -1;
    {
        std::lock_guard lock(m_mutex);
        fd = m_fd;
    }
    if (fd < 0) {
        return false;
    }
    m_shutdown.Clear();
    // Purged here rather than in the thread, so that nothing arriving after this call
    // returns can be lost to the purge.
    const bool purged = PurgeSerialDevice(fd);
    m_run = RunContext{m_owner,        m_portNumber, m_executor, std::make_shared<DeliveryGate>(),
                       m_gatherWindow, !purged};
    m_failed = false;
    m_lastWake = {};
    m_lastWakeBytes = 0;
    m_threadAlive.store(true, std::memory_order_release);
    try {
        m_thread = std::thread([this] { MonitorThread(); });
    } catch (const std::system_error&) {
        m_threadAlive.store(false, std::memory_order_release);
        return false;
    }
    return true;
}

void PosixSerialPort::StopMonitor() {
    if (t_monitoredPort == this) {
        m_run.gate->Close();
        m_shutdown.Signal();
        return;
    }
    if (!m_thread.joinable()) {
        return;
    }
    // Closing the gate first frees a thread that waits for the owner, who may be us.
    m_run.gate->Close();
    m_shutdown.Signal();
    m_thread.join();
}

void PosixSerialPort::ClosePort() {
    StopMonitor();
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0) {
        CloseSerialDevice(m_fd);
        m_fd = -1;
    }
    m_transmitPending = false;
}

bool PosixSerialPort::IsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_fd >= 0;
}

bool PosixSerialPort::RequestTransmission(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() > kMaxTransmitLength) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    if (m_fd < 0) {
        return false;
    }
    std::fill_n(m_transmitBuffer.begin(), 4, '\0');
    std::copy(text.begin(), text.end(), m_transmitBuffer.begin());
    m_transmitBuffer[text.size()] = '\0';
    m_transmitPending = true;
    m_writeRequest.Signal();
    return true;
}

void PosixSerialPort::MonitorThread() {
    t_monitoredPort = this;
    // Named, so that a look at /proc or a debugger tells it from the owner's thread.
    pthread_setname_np(pthread_self(), "serial-monitor");
    if (m_run.purgeFailed) {
        ReportFailure();
    }
    int fd = -1;
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            fd = m_failed ? -1 : m_fd;
        }
        // Order matters: when several are ready the lowest index is served.
        pollfd waits[3] = {
            {m_shutdown.Fd(), POLLIN, 0}, {fd, POLLIN, 0}, {m_writeRequest.Fd(), POLLIN, 0}};
        if (poll(waits, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            ReportFailure();
            break;
        }
        if (waits[0].revents != 0) {
            break;
        }
        if (waits[1].revents != 0) {
            OnPortReady(fd, waits[1].revents);
        } else if (waits[2].revents != 0) {
            OnTransmissionRequest(fd);
        }
    }
    m_threadAlive.store(false, std::memory_order_release);
}

bool PosixSerialPort::IsTrickle(std::size_t waiting) const {
    const std::chrono::duration<double> window = m_run.gatherWindow;
    if (window.count() <= 0) {
        return false;
    }
    // Bytes per window since the previous wake-up: a bulk stream that happens to find
    // only a few bytes waiting must not be held up.
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - m_lastWake;
    return static_cast<double>(m_lastWakeBytes + waiting) <
           static_cast<double>(kGatherThreshold) * (since / window);
}

void PosixSerialPort::OnPortReady(int fd, short events) {
    bool mayRest = true;
    for (;;) {
        std::vector<std::uint8_t> bytes;
        const ReadOutcome outcome = ReadAvailable(fd, bytes, kMaxHandOff);
        const bool trickle = IsTrickle(bytes.size());
        const bool got = !bytes.empty();
        m_lastWake = std::chrono::steady_clock::now();
        m_lastWakeBytes = bytes.size();
        // After a hang-up poll keeps reporting the descriptor and read returns 0 for ever:
        // hand over what came before it, report once and stop watching it.
        const bool gone = outcome == ReadOutcome::HungUp || outcome == ReadOutcome::Failed ||
                          (events & kGone) != 0;
        if (got && !m_run.gate->Post(m_run.executor, HandOff(std::move(bytes)))) {
            m_failed = true;
            return;
        }
        // While bytes trickle in, rest for the gather window as the owner takes this batch,
        // waking only for a stop or a transmission: a byte-paced stream costs one wake-up
        // per window instead of one per byte. Bulk input is never held up.
        const bool rest = mayRest && got && trickle && !gone && outcome == ReadOutcome::Drained;
        const RestEnd ended = rest ? Rest() : RestEnd::NotRested;
        if (!m_run.gate->Await()) {
            m_failed = true;
            return;
        }
        if (gone) {
            ReportFailure();
            return;
        }
        if (ended == RestEnd::NotRested || ended == RestEnd::Stopped) {
            return;
        }
        // What arrived meanwhile is handed over next, also before a transmission purges it.
        mayRest = ended == RestEnd::WindowOver;
        events = 0;
    }
}

PosixSerialPort::RestEnd PosixSerialPort::Rest() const {
    const auto window = m_run.gatherWindow;
    const timespec wait{static_cast<time_t>(window.count() / 1000000),
                        static_cast<long>(window.count() % 1000000 * 1000)};
    pollfd waits[2] = {{m_shutdown.Fd(), POLLIN, 0}, {m_writeRequest.Fd(), POLLIN, 0}};
    ppoll(waits, 2, &wait, nullptr);
    if (waits[0].revents != 0) {
        return RestEnd::Stopped;
    }
    return waits[1].revents != 0 ? RestEnd::TransmissionAsked : RestEnd::WindowOver;
}

void PosixSerialPort::OnTransmissionRequest(int fd) {
    std::string text;
    {
        std::lock_guard lock(m_mutex);
        m_writeRequest.Clear();
        if (!m_transmitPending) {
            return;
        }
        m_transmitPending = false;
        text = m_transmitBuffer.data();
    }
    if (fd < 0) {
        return;
    }
    if (!PurgeSerialDevice(fd)) {
        ReportFailure();
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + kWriteTimeoutConstant +
                          kWriteTimeoutPerByte * static_cast<long>(text.size());
    if (WriteAll(fd, text, m_shutdown.Fd(), deadline) == WriteOutcome::Failed) {
        ReportFailure();
    }
}

std::function<void()> PosixSerialPort::HandOff(std::vector<std::uint8_t> bytes) const {
    return [owner = m_run.owner, port = m_run.port, gate = m_run.gate, bytes = std::move(bytes)] {
        owner->OnCtsChange(port);
        for (const std::uint8_t byte : bytes) {
            if (!gate->IsOpen()) {
                return;
            }
            owner->OnReceiveChar(byte, port);
        }
    };
}

void PosixSerialPort::ReportFailure() {
    if (m_failed) {
        return;
    }
    m_failed = true;
    const auto& run = m_run;
    run.gate->Deliver(run.executor,
                      [owner = run.owner, port = run.port] { owner->OnPortFailure(port); });
}

} // namespace orvane
