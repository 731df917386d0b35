#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "serial/DeliveryGate.h"
#include "serial/SerialOwner.h"
#include "serial/SerialPort.h"
#include "serial/posix/EventFlag.h"
#include "serial/posix/SerialDevice.h"

namespace orvane {

// CSerialPort on POSIX: a tty opened exclusively (TIOCEXCL and an advisory lock), poll on
// the descriptor and two eventfd flags, non-blocking reads and writes. The contract is
// CSerialPort's.
class PosixSerialPort {
public:
    using PortResolver = CSerialPort::PortResolver;
    using OpenFailure = CSerialPort::OpenFailure;
    static constexpr std::size_t kTransmitBufferSize = CSerialPort::kTransmitBufferSize;
    static constexpr std::size_t kMaxTransmitLength = CSerialPort::kMaxTransmitLength;

    PosixSerialPort();
    ~PosixSerialPort();
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    void SetPortResolver(PortResolver resolver);
    void SetOwnerExecutor(OwnerExecutor executor);
    void SetGatherWindow(std::chrono::microseconds window);

    bool OpenPort(ISerialOwner* owner, unsigned portNumber);
    const OpenFailure& LastOpenFailure() const { return m_openFailure; }
    bool StartMonitor();
    void StopMonitor();
    void ClosePort();

    bool IsOpen() const;
    bool IsThreadAlive() const { return m_threadAlive.load(std::memory_order_acquire); }
    unsigned PortNumber() const { return m_portNumber; }

    bool RequestTransmission(std::string_view text);

private:
    // What one run of the monitoring thread works with, fixed when it starts.
    struct RunContext {
        ISerialOwner* owner = nullptr;
        unsigned port = 0;
        OwnerExecutor executor;
        std::shared_ptr<DeliveryGate> gate;
        std::chrono::microseconds gatherWindow{0};
        bool purgeFailed = false;
    };

    enum class RestEnd { NotRested, WindowOver, TransmissionAsked, Stopped };

    void MonitorThread();
    bool IsTrickle(std::size_t waiting) const;
    void OnPortReady(int fd, short events);
    // Sleeps the gather window unless a stop or a transmission request comes first.
    RestEnd Rest() const;
    void OnTransmissionRequest(int fd);
    // The owner's side of one hand-off: OnCtsChange, then every byte while the gate is open.
    std::function<void()> HandOff(std::vector<std::uint8_t> bytes) const;
    void ReportFailure();

    mutable std::mutex m_mutex; // guards m_fd, the transmit buffer and its request flag
    std::thread m_thread;
    std::atomic<bool> m_threadAlive{false};
    EventFlag m_shutdown;
    EventFlag m_writeRequest;
    int m_fd = -1;
    std::array<char, kTransmitBufferSize> m_transmitBuffer{};
    bool m_transmitPending = false;
    ISerialOwner* m_owner = nullptr;
    unsigned m_portNumber = 0;
    PortResolver m_resolver;
    OpenFailure m_openFailure;
    OwnerExecutor m_executor;
    std::chrono::microseconds m_gatherWindow = CSerialPort::kDefaultGatherWindow;
    RunContext m_run;
    // Monitoring thread only:
    bool m_failed = false; // the port is no longer watched
    std::chrono::steady_clock::time_point m_lastWake;
    std::size_t m_lastWakeBytes = 0;
};

} // namespace orvane
