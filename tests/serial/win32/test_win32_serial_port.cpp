// The Win32 port through its seam: the line it asks for, why an open fails, both ways of
// waiting for input (WaitCommEvent, and time-out bounded reads where the driver cannot),
// transmission after a purge, and a device that goes away.
#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "serial/OwnerQueue.h"
#include "serial/win32/Win32SerialPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

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
        if (openError != 0) {
            SetLastError(openError);
            return INVALID_HANDLE_VALUE;
        }
        return kHandle;
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
        if (!commEvents) {
            return Fails(ERROR_NOT_SUPPORTED);
        }
        if (m_unplugged) {
            return Fails(ERROR_BAD_COMMAND);
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

// The owner: what reached it, in order, on the thread that runs the queue.
struct Owner final : ISerialOwner {
    std::string seen;
    void OnCtsChange(unsigned) override { seen += "|"; }
    void OnReceiveChar(std::uint8_t byte, unsigned) override { seen += static_cast<char>(byte); }
    void OnPortFailure(unsigned port) override { seen += "<failed " + std::to_string(port) + ">"; }
};

struct Rig {
    FakeComm comm;
    OwnerQueue queue;
    Owner owner;
    Win32SerialPort port{comm};

    Rig() {
        port.SetPortResolver([](unsigned n) -> std::optional<std::string> {
            if (n == 0) {
                return std::nullopt;
            }
            return "\\\\.\\COM" + std::to_string(n);
        });
        port.SetOwnerExecutor(queue.Executor());
        port.SetGatherWindow(0us);
    }
    // Runs the owner's queue until `done` holds or two seconds pass.
    bool RunUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            queue.RunOne(10ms);
        }
        return done();
    }
    bool Sees(const std::string& text) {
        return RunUntil([&] { return owner.seen == text; });
    }
    bool Called(const std::string& call) {
        return RunUntil([&] { return comm.Count(call) > 0; });
    }
};

TEST(Win32SerialPort, OpensTheNamedPortAt9600N81WithItsTimeoutsAndMask) {
    Rig rig;
    ASSERT_TRUE(rig.port.OpenPort(&rig.owner, 3));
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
    EXPECT_TRUE(rig.port.IsOpen());
    EXPECT_EQ(rig.port.LastOpenFailure().error, DeviceOpenError::None);
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
        Rig rig;
        rig.comm.openError = c.openError;
        rig.comm.setStateError = c.setStateError;
        EXPECT_FALSE(rig.port.OpenPort(&rig.owner, 4)) << c.openError << "/" << c.setStateError;
        const auto& failure = rig.port.LastOpenFailure();
        EXPECT_EQ(failure.error, c.error) << c.openError << "/" << c.setStateError;
        EXPECT_EQ(failure.devicePath, "\\\\.\\COM4");
        EXPECT_EQ(failure.systemError, static_cast<int>(c.openError + c.setStateError));
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_EQ(rig.comm.closes, c.setStateError != 0 ? 1 : 0) << "a handle opened is closed";
    }
    Rig rig;
    EXPECT_FALSE(rig.port.OpenPort(&rig.owner, 0));
    EXPECT_EQ(rig.port.LastOpenFailure().error, DeviceOpenError::NotPresent);
    EXPECT_TRUE(rig.comm.openedName.empty()) << "no device is tried for an unknown number";
}

// The same behaviour whichever way the driver lets the thread wait for input.
TEST(Win32SerialPort, BytesReachTheOwnerInOrderAndTransmissionsFollowAPurge) {
    for (const bool commEvents : {true, false}) {
        SCOPED_TRACE(commEvents ? "WaitCommEvent" : "reads bounded by the time-outs");
        Rig rig;
        rig.comm.commEvents = commEvents;
        ASSERT_TRUE(rig.port.OpenPort(&rig.owner, 5));
        ASSERT_TRUE(rig.port.StartMonitor());
        ASSERT_TRUE(rig.Called("wait"));

        rig.comm.Arrive("ab");
        EXPECT_TRUE(rig.Sees("|ab")) << rig.owner.seen;
        rig.comm.Arrive("c");
        EXPECT_TRUE(rig.Sees("|ab|c")) << rig.owner.seen;
        // Waiting goes on by events only where they work.
        EXPECT_EQ(rig.comm.Count("wait") > 1, commEvents);

        ASSERT_TRUE(rig.port.RequestTransmission(std::string("AB\0CD", 5)));
        EXPECT_TRUE(rig.Called("write AB"));
        ASSERT_TRUE(rig.port.RequestTransmission(""));
        const long purges = rig.comm.Count("purge 15");
        EXPECT_TRUE(rig.RunUntil([&] { return rig.comm.Count("purge 15") == 4; })) << purges;
        const auto calls = rig.comm.Calls();
        const auto write = std::find(calls.begin(), calls.end(), "write AB");
        ASSERT_NE(write, calls.begin());
        EXPECT_EQ(*(write - 1), "purge 15") << "unread input goes before a message is sent";
        EXPECT_EQ(rig.comm.Count("write "), 0) << "an empty text sends nothing";

        rig.comm.Arrive("d");
        EXPECT_TRUE(rig.Sees("|ab|c|d")) << "input is awaited again after a transmission";
        rig.port.StopMonitor();
        EXPECT_FALSE(rig.port.IsThreadAlive());
        EXPECT_TRUE(rig.port.IsOpen());
    }
}

TEST(Win32SerialPort, AnUnpluggedDeviceIsReportedOnceAndReleasedOnClose) {
    for (const bool commEvents : {true, false}) {
        SCOPED_TRACE(commEvents ? "WaitCommEvent" : "reads bounded by the time-outs");
        Rig rig;
        rig.comm.commEvents = commEvents;
        ASSERT_TRUE(rig.port.OpenPort(&rig.owner, 6));
        ASSERT_TRUE(rig.port.StartMonitor());
        rig.comm.Arrive("x");
        ASSERT_TRUE(rig.Sees("|x"));
        rig.comm.Unplug();
        EXPECT_TRUE(rig.Sees("|x<failed 6>"));
        rig.port.RequestTransmission("c");
        rig.comm.Arrive("y");
        rig.queue.RunOne(50ms);
        EXPECT_EQ(rig.owner.seen, "|x<failed 6>") << "the port stays quiet after a failure";
        rig.port.ClosePort();
        EXPECT_EQ(rig.comm.closes, 1);
        EXPECT_FALSE(rig.port.IsOpen());
        EXPECT_FALSE(rig.port.IsThreadAlive());
    }
}

} // namespace
} // namespace orvane
