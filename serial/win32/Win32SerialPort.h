#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <windows.h>

#include "serial/DeliveryGate.h"
#include "serial/SerialOwner.h"
#include "serial/SerialPort.h"
#include "serial/win32/CommApi.h"
#include "serial/win32/Win32Event.h"

namespace orvane {

// CSerialPort on Windows: the COM port opened exclusively with overlapped I/O, 1000 ms
// time-outs, event mask 9 and the line built from "baud=9600 parity=N data=8 stop=1" with
// RTS on. The monitoring thread waits for the shutdown event, for input and for the write
// event. Input is awaited with WaitCommEvent; where the driver says it cannot
// (ERROR_NOT_SUPPORTED or ERROR_INVALID_PARAMETER: Wine on a pseudo-terminal, some
// USB-serial drivers) with a one-byte overlapped read bounded by the time-outs instead.
// Either way what the receive queue holds is read and handed to the owner as one hand-off.
// The contract is CSerialPort's.
class Win32SerialPort {
public:
    using PortResolver = CSerialPort::PortResolver;
    using OpenFailure = CSerialPort::OpenFailure;

    Win32SerialPort() : Win32SerialPort(SystemCommApi()) {}
    explicit Win32SerialPort(ICommApi& api);
    ~Win32SerialPort();
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

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

    // How the thread waits for input; it falls back once per run, for good.
    enum class InputWait { CommEvent, Read };

    void MonitorThread();
    // Starts the wait for input; false when it completed at once (the input overlapped
    // record then holds the outcome).
    bool StartInputWait(HANDLE port);
    void OnInputDone(HANDLE port);
    // Reads what the receive queue holds after `first` and hands it all to the owner.
    void DrainAndHandOff(HANDLE port, std::vector<std::uint8_t> bytes);
    void OnTransmissionRequest(HANDLE port);
    std::function<void()> HandOff(std::vector<std::uint8_t> bytes) const;
    void ReportFailure();

    ICommApi& m_api;
    mutable std::mutex m_mutex; // guards m_port, the transmit buffer and its request flag
    std::thread m_thread;
    std::atomic<bool> m_threadAlive{false};
    Win32Event m_shutdown;
    Win32Event m_writeRequest;
    Win32Event m_inputDone;
    Win32Event m_outputDone;
    HANDLE m_port = INVALID_HANDLE_VALUE;
    std::array<char, CSerialPort::kTransmitBufferSize> m_transmitBuffer{};
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
    InputWait m_inputWait = InputWait::CommEvent;
    bool m_inputPending = false;
    OVERLAPPED m_input{};
    DWORD m_events = 0;
    std::uint8_t m_firstByte = 0;
};

// What a failed CreateFileW means to the user.
DeviceOpenError OpenErrorOfWin32(DWORD error);

} // namespace orvane
