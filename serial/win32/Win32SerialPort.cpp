#include "serial/win32/Win32SerialPort.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "serial/win32/WideText.h"

namespace orvane {

namespace {

// The port whose monitoring thread this is, if any: a stop from inside a callback
// recognises itself through this.
thread_local const Win32SerialPort* t_monitoredPort = nullptr;

constexpr DWORD kTimeoutMs = 1000;
constexpr DWORD kEventMask = EV_RXCHAR | EV_CTS;                                           // 9
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR; // 15
constexpr wchar_t kLineSettings[] = L"baud=9600 parity=N data=8 stop=1";
// Below this many bytes per hand-off the thread rests the gather window afterwards.
constexpr std::size_t kGatherThreshold = 256;
constexpr std::size_t kMaxHandOff = 64 * 1024;

DWORD Milliseconds(std::chrono::microseconds window) {
    return static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(window).count());
}

} // namespace

DeviceOpenError OpenErrorOfWin32(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
        return DeviceOpenError::NotPresent;
    // A COM port that another program holds refuses a second opener with access denied.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return DeviceOpenError::InUse;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return DeviceOpenError::NotATerminal;
    default:
        return DeviceOpenError::Other;
    }
}

Win32SerialPort::Win32SerialPort(ICommApi& api) : m_api(api) {
    m_input.hEvent = m_inputDone.Handle();
}

Win32SerialPort::~Win32SerialPort() {
    ClosePort();
}

void Win32SerialPort::SetPortResolver(PortResolver resolver) {
    m_resolver = std::move(resolver);
}

void Win32SerialPort::SetOwnerExecutor(OwnerExecutor executor) {
    m_executor = std::move(executor);
}

void Win32SerialPort::SetGatherWindow(std::chrono::microseconds window) {
    m_gatherWindow = std::max(window, std::chrono::microseconds::zero());
}

bool Win32SerialPort::OpenPort(ISerialOwner* owner, unsigned portNumber) {
    ClosePort();
    m_openFailure = {DeviceOpenError::Other, {}, 0, {}};
    if (owner == nullptr || !m_resolver || !m_shutdown.IsValid() || !m_writeRequest.IsValid() ||
        !m_inputDone.IsValid() || !m_outputDone.IsValid()) {
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
    const HANDLE port = m_api.Open(Widen(*path));
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        m_openFailure = {OpenErrorOfWin32(error), *path, static_cast<int>(error), {}};
        return false;
    }
    COMMTIMEOUTS timeouts{kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs};
    DCB line{};
    line.DCBlength = sizeof line;
    bool ready = m_api.SetTimeouts(port, &timeouts) && m_api.SetMask(port, kEventMask) &&
                 m_api.GetState(port, &line) && m_api.BuildState(kLineSettings, &line);
    if (ready) {
        // No flow control of any kind, RTS and DTR held on.
        line.fOutxCtsFlow = FALSE;
        line.fOutxDsrFlow = FALSE;
        line.fDsrSensitivity = FALSE;
        line.fOutX = FALSE;
        line.fInX = FALSE;
        line.fDtrControl = DTR_CONTROL_ENABLE;
        line.fRtsControl = RTS_CONTROL_ENABLE;
        ready = m_api.SetState(port, &line) && m_api.Purge(port, kPurgeAll);
    }
    if (!ready) {
        // Refused rather than fatal: the caller says why and may try another port.
        const DWORD error = GetLastError();
        m_api.Close(port);
        m_openFailure = {DeviceOpenError::SetupFailed, *path, static_cast<int>(error), {}};
        return false;
    }
    m_openFailure = {};
    std::lock_guard lock(m_mutex);
    m_port = port;
    m_owner = owner;
    m_portNumber = portNumber;
    m_transmitBuffer.fill('\0');
    m_transmitPending = false;
    m_writeRequest.Clear();
    return true;
}

bool Win32SerialPort::StartMonitor() {
    if (m_thread.joinable()) {
        if (IsThreadAlive() && m_run.gate->IsOpen()) {
            return true;
        }
        StopMonitor();
    }
    HANDLE port = INVALID_HANDLE_VALUE;
    {
        std::lock_guard lock(m_mutex);
        port = m_port;
    }
    if (port == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_shutdown.Clear();
    // Purged here rather than in the thread, so that nothing arriving after this call
    // returns can be lost to the purge.
    const bool purged = m_api.Purge(port, kPurgeAll) != FALSE;
    m_run = RunContext{m_owner,        m_portNumber, m_executor, std::make_shared<DeliveryGate>(),
                       m_gatherWindow, !purged};
    m_failed = false;
    m_inputWait = InputWait::CommEvent;
    m_inputPending = false;
    m_threadAlive.store(true, std::memory_order_release);
    try {
        m_thread = std::thread([this] { MonitorThread(); });
    } catch (const std::system_error&) {
        m_threadAlive.store(false, std::memory_order_release);
        return false;
    }
    return true;
}

void Win32SerialPort::StopMonitor() {
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

void Win32SerialPort::ClosePort() {
    StopMonitor();
    std::lock_guard lock(m_mutex);
    if (m_port != INVALID_HANDLE_VALUE) {
        m_api.Close(m_port);
        m_port = INVALID_HANDLE_VALUE;
    }
    m_transmitPending = false;
}

bool Win32SerialPort::IsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_port != INVALID_HANDLE_VALUE;
}

bool Win32SerialPort::RequestTransmission(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() > CSerialPort::kMaxTransmitLength) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    if (m_port == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::fill_n(m_transmitBuffer.begin(), 4, '\0');
    std::copy(text.begin(), text.end(), m_transmitBuffer.begin());
    m_transmitBuffer[text.size()] = '\0';
    m_transmitPending = true;
    m_writeRequest.Signal();
    return true;
}

void Win32SerialPort::MonitorThread() {
    t_monitoredPort = this;
    if (m_run.purgeFailed) {
        ReportFailure();
    }
    HANDLE port = INVALID_HANDLE_VALUE;
    {
        std::lock_guard lock(m_mutex);
        port = m_port;
    }
    for (;;) {
        if (!m_failed && !m_inputPending && !StartInputWait(port)) {
            OnInputDone(port);
            continue;
        }
        // Order matters: when several are signalled the lowest index is served. The input
        // event is only waited for while an input wait is in flight.
        HANDLE waits[3] = {m_shutdown.Handle(), m_inputDone.Handle(), m_writeRequest.Handle()};
        DWORD count = 3;
        if (!m_inputPending) {
            waits[1] = m_writeRequest.Handle();
            count = 2;
        }
        const DWORD woke = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0) {
            break;
        }
        if (woke == WAIT_FAILED || woke >= WAIT_OBJECT_0 + count) {
            ReportFailure();
            break;
        }
        if (waits[woke - WAIT_OBJECT_0] == m_inputDone.Handle()) {
            m_inputPending = false;
            OnInputDone(port);
        } else {
            OnTransmissionRequest(port);
        }
    }
    if (m_inputPending) {
        // The record and the buffer must outlive the call that uses them.
        DWORD ignored = 0;
        m_api.Cancel(port, &m_input);
        m_api.Result(port, &m_input, &ignored, TRUE);
        m_inputPending = false;
    }
    m_threadAlive.store(false, std::memory_order_release);
}

bool Win32SerialPort::StartInputWait(HANDLE port) {
    for (;;) {
        m_inputDone.Clear();
        m_input.Internal = 0;
        m_input.InternalHigh = 0;
        m_input.Offset = 0;
        m_input.OffsetHigh = 0;
        const BOOL done = m_inputWait == InputWait::CommEvent
                              ? m_api.WaitEvent(port, &m_events, &m_input)
                              : m_api.Read(port, &m_firstByte, 1, nullptr, &m_input);
        if (done) {
            return false;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            m_inputPending = true;
            return true;
        }
        if (m_inputWait == InputWait::CommEvent &&
            (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_PARAMETER)) {
            m_inputWait = InputWait::Read;
            continue;
        }
        ReportFailure();
        return true;
    }
}

void Win32SerialPort::OnInputDone(HANDLE port) {
    DWORD got = 0;
    if (!m_api.Result(port, &m_input, &got, FALSE)) {
        const DWORD error = GetLastError();
        // A purge before a transmission aborts a pending read, and Wine ends a read that
        // timed out with ERROR_TIMEOUT where Windows completes it with no bytes.
        if (error != ERROR_OPERATION_ABORTED && error != ERROR_TIMEOUT) {
            ReportFailure();
        }
        return;
    }
    std::vector<std::uint8_t> bytes;
    if (m_inputWait == InputWait::Read) {
        if (got == 0) {
            return; // the time-outs ran out with nothing received
        }
        bytes.push_back(m_firstByte);
    }
    DrainAndHandOff(port, std::move(bytes));
}

void Win32SerialPort::DrainAndHandOff(HANDLE port, std::vector<std::uint8_t> bytes) {
    bool broken = false;
    while (bytes.size() < kMaxHandOff) {
        DWORD errors = 0;
        COMSTAT status{};
        // Fails once the device is gone (an unplugged adapter).
        if (!m_api.ClearError(port, &errors, &status)) {
            broken = true;
            break;
        }
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, kMaxHandOff - bytes.size()));
        if (want == 0) {
            break;
        }
        const std::size_t at = bytes.size();
        bytes.resize(at + want);
        m_inputDone.Clear();
        m_input.Internal = 0;
        m_input.InternalHigh = 0;
        DWORD got = 0;
        BOOL read = m_api.Read(port, bytes.data() + at, want, &got, &m_input);
        if (!read && GetLastError() == ERROR_IO_PENDING) {
            // The bytes are in the queue, so this completes at once; the time-outs bound it.
            read = m_api.Result(port, &m_input, &got, TRUE);
        }
        bytes.resize(at + (read ? got : 0));
        if (!read) {
            broken = true;
            break;
        }
        if (got < want) {
            break;
        }
    }
    // What came before a failure is the owner's too.
    if (!bytes.empty()) {
        const bool small = bytes.size() < kGatherThreshold;
        if (!m_run.gate->Post(m_run.executor, HandOff(std::move(bytes)))) {
            m_failed = true;
            return;
        }
        // While bytes trickle in, rest for the gather window as the owner takes this batch,
        // waking only for a stop or a transmission.
        if (small && !broken && m_run.gatherWindow.count() > 0) {
            HANDLE rests[2] = {m_shutdown.Handle(), m_writeRequest.Handle()};
            WaitForMultipleObjects(2, rests, FALSE, Milliseconds(m_run.gatherWindow));
        }
        if (!m_run.gate->Await()) {
            m_failed = true;
            return;
        }
    }
    if (broken) {
        ReportFailure();
    }
}

void Win32SerialPort::OnTransmissionRequest(HANDLE port) {
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
    if (m_failed) {
        return;
    }
    // Unread input and unsent output go first: a reply is always to this message. This
    // also aborts a pending one-byte read, which then completes and is started again.
    if (!m_api.Purge(port, kPurgeAll)) {
        ReportFailure();
        return;
    }
    if (text.empty()) {
        return;
    }
    OVERLAPPED output{};
    output.hEvent = m_outputDone.Handle();
    m_outputDone.Clear();
    const DWORD size = static_cast<DWORD>(text.size());
    DWORD put = 0;
    BOOL written = m_api.Write(port, text.data(), size, &put, &output);
    if (!written && GetLastError() == ERROR_IO_PENDING) {
        // The write time-out of the line, a constant plus so much per byte, with our own
        // bound beside it for a driver that ignores it; a stop does not wait for it.
        HANDLE waits[2] = {m_shutdown.Handle(), m_outputDone.Handle()};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kTimeoutMs + kTimeoutMs * size);
        if (woke == WAIT_OBJECT_0 + 1) {
            written = m_api.Result(port, &output, &put, FALSE);
        } else {
            m_api.Cancel(port, &output);
            m_api.Result(port, &output, &put, TRUE);
            if (woke == WAIT_OBJECT_0) {
                return;
            }
            written = FALSE;
        }
    }
    if (!written || put != size) {
        ReportFailure();
    }
}

std::function<void()> Win32SerialPort::HandOff(std::vector<std::uint8_t> bytes) const {
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

void Win32SerialPort::ReportFailure() {
    if (m_failed) {
        return;
    }
    m_failed = true;
    const auto& run = m_run;
    run.gate->Deliver(run.executor,
                      [owner = run.owner, port = run.port] { owner->OnPortFailure(port); });
}

} // namespace orvane
