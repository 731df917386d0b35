// The Win32 port through its seam: the shared contract for either way of waiting for input
// (WaitCommEvent, and time-out bounded reads where the driver cannot), the line it asks for,
// and why an open fails.
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

#include "serial/win32/Win32SerialPort.h"
#include "tests/serial/PortContract.h"

namespace orvane::test {
namespace {

const HANDLE kHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x5150));
constexpr ULONG_PTR kPending = 0x103; // STATUS_PENDING, as the system marks a call in flight

// A COM port driver in memory: input waits complete when bytes arrive, as a driver's do.
class FakeComm final : public ICommApi {
public:
    DWORD openError = 0;     // CreateFileW fails with this
    DWORD setStateError = 0; // SetCommState fails with this
    bool commEvents = true;  // false: WaitCommEvent is not supported

    std::wstring openedName;
    COMMTIMEOUTS timeouts{};
    DWORD mask = 0;
    DCB line{};
    int closes = 0;

    void Arrive(const std::string& bytes) {
        std::lock_guard lock(m_mutex);
        m_queue += bytes;
        if (m_wait != nullptr) {
            *m_waitEvents = EV_RXCHAR;
            Complete(std::exchange(m_wait, nullptr), 0, 0);
        }
        if (m_read != nullptr) {
            Complete(std::exchange(m_read, nullptr), 0, Take(m_readBuffer, m_readSize));
        }
    }
    // An unplugged adapter: what is in flight fails, and so does every call after.
    void Unplug() {
        std::lock_guard lock(m_mutex);
        m_unplugged = true;
        for (OVERLAPPED** pending : {&m_wait, &m_read}) {
            if (*pending != nullptr) {
                Complete(std::exchange(*pending, nullptr), ERROR_BAD_COMMAND, 0);
            }
        }
    }
    std::vector<std::string> Calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    long Count(const std::string& call) {
        const auto calls = Calls();
        return std::count(calls.begin(), calls.end(), call);
    }

    HANDLE Open(const std::wstring& name) override {
        openedName = name;
        SetLastError(openError);
        return openError != 0 ? INVALID_HANDLE_VALUE : kHandle;
    }
    void Close(HANDLE) override { ++closes; }
    BOOL SetTimeouts(HANDLE, COMMTIMEOUTS* t) override { return timeouts = *t, TRUE; }
    BOOL SetMask(HANDLE, DWORD m) override { return mask = m, TRUE; }
    BOOL GetState(HANDLE, DCB* dcb) override {
        // What a driver might report before it is set: odd speed, hardware flow control.
        dcb->BaudRate = 115200;
        dcb->fOutxCtsFlow = TRUE;
        dcb->fRtsControl = RTS_CONTROL_HANDSHAKE;
        return TRUE;
    }
    BOOL BuildState(const wchar_t* settings, DCB* dcb) override {
        return BuildCommDCBW(settings, dcb);
    }
    BOOL SetState(HANDLE, DCB* dcb) override {
        line = *dcb;
        return Fails(setStateError);
    }
    BOOL Purge(HANDLE, DWORD flags) override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("purge " + std::to_string(flags));
        m_queue.clear();
        if (m_read != nullptr && (flags & PURGE_RXABORT) != 0) {
            Complete(std::exchange(m_read, nullptr), ERROR_OPERATION_ABORTED, 0);
        }
        return TRUE;
    }
    BOOL WaitEvent(HANDLE, DWORD* events, OVERLAPPED* overlapped) override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("wait");
        if (!commEvents || m_unplugged) {
            return Fails(commEvents ? ERROR_BAD_COMMAND : ERROR_NOT_SUPPORTED);
        }
        if (!m_queue.empty()) {
            *events = EV_RXCHAR;
            overlapped->Internal = 0;
            return TRUE;
        }
        m_wait = overlapped;
        m_waitEvents = events;
        overlapped->Internal = kPending;
        return Fails(ERROR_IO_PENDING);
    }
    BOOL ClearError(HANDLE, DWORD* errors, COMSTAT* status) override {
        std::lock_guard lock(m_mutex);
        *errors = 0;
        status->cbInQue = static_cast<DWORD>(m_queue.size());
        return Fails(m_unplugged ? ERROR_BAD_COMMAND : 0);
    }
    BOOL Read(HANDLE, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped) override {
        std::lock_guard lock(m_mutex);
        if (m_unplugged) {
            return Fails(ERROR_BAD_COMMAND);
        }
        if (!m_queue.empty()) {
            const DWORD n = Take(buffer, size);
            overlapped->Internal = 0;
            overlapped->InternalHigh = n;
            if (got != nullptr) {
                *got = n;
            }
            return TRUE;
        }
        m_read = overlapped;
        m_readBuffer = buffer;
        m_readSize = size;
        overlapped->Internal = kPending;
        return Fails(ERROR_IO_PENDING);
    }
    BOOL Write(HANDLE, const void* buffer, DWORD size, DWORD* put, OVERLAPPED*) override {
        std::lock_guard lock(m_mutex);
        if (m_unplugged) {
            return Fails(ERROR_BAD_COMMAND);
        }
        m_calls.push_back("write " + std::string(static_cast<const char*>(buffer), size));
        *put = size;
        return TRUE;
    }
    BOOL Result(HANDLE, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait) override {
        if (wait) {
            WaitForSingleObject(overlapped->hEvent, INFINITE);
        }
        std::lock_guard lock(m_mutex);
        if (overlapped->Internal == kPending) {
            return Fails(ERROR_IO_INCOMPLETE);
        }
        *transferred = static_cast<DWORD>(overlapped->InternalHigh);
        return Fails(static_cast<DWORD>(overlapped->Internal));
    }
    BOOL Cancel(HANDLE, OVERLAPPED* overlapped) override {
        std::lock_guard lock(m_mutex);
        for (OVERLAPPED** pending : {&m_wait, &m_read}) {
            if (*pending == overlapped) {
                Complete(std::exchange(*pending, nullptr), ERROR_OPERATION_ABORTED, 0);
                return TRUE;
            }
        }
        return Fails(ERROR_NOT_FOUND);
    }

private:
    static BOOL Fails(DWORD error) {
        SetLastError(error);
        return error == 0 ? TRUE : FALSE;
    }
    static void Complete(OVERLAPPED* overlapped, DWORD error, DWORD count) {
        overlapped->Internal = error;
        overlapped->InternalHigh = count;
        SetEvent(overlapped->hEvent);
    }
    DWORD Take(void* buffer, DWORD size) {
        const DWORD n = std::min<DWORD>(size, static_cast<DWORD>(m_queue.size()));
        std::copy_n(m_queue.begin(), n, static_cast<char*>(buffer));
        m_queue.erase(0, n);
        return n;
    }

    std::mutex m_mutex;
    std::string m_queue;
    std::vector<std::string> m_calls;
    bool m_unplugged = false;
    OVERLAPPED* m_wait = nullptr;
    DWORD* m_waitEvents = nullptr;
    OVERLAPPED* m_read = nullptr;
    void* m_readBuffer = nullptr;
    DWORD m_readSize = 0;
};

// The port on the fake driver, port n as "\\.\COMn", handing over on every wake-up.
struct CommRig : OwnerSide<Win32SerialPort> {
    explicit CommRig(bool commEvents) {
        comm.commEvents = commEvents;
        port = std::make_unique<Win32SerialPort>(comm);
        port->SetPortResolver([](unsigned n) -> std::optional<std::string> {
            return n == 0 ? std::nullopt : std::optional("\\\\.\\COM" + std::to_string(n));
        });
        port->SetGatherWindow(0us);
    }
    ~CommRig() { port.reset(); }
    CommRig(const CommRig&) = delete;
    CommRig& operator=(const CommRig&) = delete;

    void Arrive(std::string_view bytes) { comm.Arrive(std::string(bytes)); }
    void Vanish() { comm.Unplug(); }
    void StartOnLine() {
        Open(1);
        ASSERT_TRUE(port->StartMonitor());
        m_mark = comm.Calls().size();
    }
    // The driver's calls since StartOnLine: a purge of both directions as "~", the bytes of
    // each write, waits left out.
    std::string LineUntilClosed(bool awaitPurge) {
        const auto calls = [&] {
            const auto all = comm.Calls();
            std::vector<std::string> since(all.begin() + static_cast<long>(m_mark), all.end());
            std::erase(since, "wait");
            return since;
        };
        EXPECT_TRUE(!awaitPurge || Eventually([&] { return !calls().empty(); }));
        port->ClosePort();
        std::string line;
        for (const std::string& call : calls()) {
            line += call == "purge 15"                              ? "~"
                    : call.starts_with("write ") && call.size() > 6 ? call.substr(6)
                                                                    : "<" + call + ">";
        }
        return line;
    }
    // Runs the owner's queue until `done` holds or two seconds pass.
    bool RunUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            queue.RunOne(10ms);
        }
        return done();
    }
    bool Sees(const std::string& events) {
        return RunUntil([&] { return owner.events == events; });
    }

    FakeComm comm;

private:
    std::size_t m_mark = 0;
};

template <bool kCommEvents>
struct FakeRig : CommRig {
    FakeRig() : CommRig(kCommEvents) {}
};

using DriverKinds = ::testing::Types<FakeRig<true>, FakeRig<false>>;
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, PortContract, DriverKinds);

TEST(Win32SerialPort, OpensTheNamedPortAt9600N81WithItsTimeoutsAndMask) {
    CommRig rig(true);
    ASSERT_TRUE(rig.port->OpenPort(&rig.owner, 3));
    EXPECT_EQ(rig.comm.openedName, L"\\\\.\\COM3");
    const COMMTIMEOUTS& t = rig.comm.timeouts;
    EXPECT_EQ((std::vector<DWORD>{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                                  t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                                  t.WriteTotalTimeoutConstant}),
              (std::vector<DWORD>{1000, 1000, 1000, 1000, 1000}));
    EXPECT_EQ(rig.comm.mask, 9u);
    const DCB& line = rig.comm.line;
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, ONESTOPBIT);
    EXPECT_EQ(line.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_FALSE(line.fOutxCtsFlow || line.fOutxDsrFlow || line.fOutX || line.fInX);
    EXPECT_EQ(rig.comm.Calls(), std::vector<std::string>{"purge 15"});
    EXPECT_TRUE(rig.port->IsOpen());
    rig.port->ClosePort();
    EXPECT_EQ(rig.comm.closes, 1);
}

TEST(Win32SerialPort, RefusedOpeningsSayWhyAndHoldNothing) {
    const struct {
        DWORD openError;
        DWORD setStateError;
        DeviceOpenError error;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, 0, DeviceOpenError::NotPresent},
        {ERROR_ACCESS_DENIED, 0, DeviceOpenError::InUse}, // what a port held elsewhere says
        {ERROR_SHARING_VIOLATION, 0, DeviceOpenError::InUse},
        {ERROR_GEN_FAILURE, 0, DeviceOpenError::Other},
        {0, ERROR_INVALID_PARAMETER, DeviceOpenError::SetupFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.openError) + "/" + std::to_string(c.setStateError));
        CommRig rig(true);
        rig.comm.openError = c.openError;
        rig.comm.setStateError = c.setStateError;
        EXPECT_FALSE(rig.port->OpenPort(&rig.owner, 4));
        const auto& failure = rig.port->LastOpenFailure();
        EXPECT_EQ(failure.error, c.error);
        EXPECT_EQ(failure.devicePath, "\\\\.\\COM4");
        EXPECT_EQ(failure.systemError, static_cast<int>(c.openError + c.setStateError));
        EXPECT_FALSE(rig.port->IsOpen());
        EXPECT_EQ(rig.comm.closes, c.setStateError != 0 ? 1 : 0) << "a handle opened is closed";
    }
}

// Each hand-off opens with OnCtsChange; waiting goes on by events only where they work, and
// input is awaited again after a transmission.
TEST(Win32SerialPort, EitherDriverKindWaitsForInputAgainAndAgain) {
    for (const bool commEvents : {true, false}) {
        SCOPED_TRACE(commEvents ? "WaitCommEvent" : "reads bounded by the time-outs");
        CommRig rig(commEvents);
        rig.Open(5, true);
        ASSERT_TRUE(rig.port->StartMonitor());
        ASSERT_TRUE(rig.RunUntil([&] { return rig.comm.Count("wait") > 0; }));
        rig.Arrive("ab");
        EXPECT_TRUE(rig.Sees("|ab")) << rig.owner.events;
        rig.Arrive("c");
        EXPECT_TRUE(rig.Sees("|ab|c")) << rig.owner.events;
        EXPECT_EQ(rig.comm.Count("wait") > 1, commEvents);
        ASSERT_TRUE(rig.port->RequestTransmission("T"));
        EXPECT_TRUE(rig.RunUntil([&] { return rig.comm.Count("write T") > 0; }));
        rig.Arrive("d");
        EXPECT_TRUE(rig.Sees("|ab|c|d")) << rig.owner.events;
    }
}

} // namespace
} // namespace orvane::test
