#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "serial/DeviceOpenError.h"
#include "serial/SerialOwner.h"

namespace orvane {

// The platform's half of the port, chosen by the build: termios and poll, or the Win32
// communications API with overlapped I/O.
#ifdef _WIN32
class Win32SerialPort;
using PlatformSerialPort = Win32SerialPort;
#else
class PosixSerialPort;
using PlatformSerialPort = PosixSerialPort;
#endif

// The system's one way to the controller: one exclusively opened serial device at
// 9600 8N1, a monitoring thread that hands every received byte to the owner in arrival
// order, and transmission of a zero-terminated text. Nothing here throws, shows
// anything or ends the process; failures after opening go to ISerialOwner::OnPortFailure.
//
// Threads: OpenPort, StartMonitor, StopMonitor, ClosePort and the destructor are called
// from the owner's thread. RequestTransmission may be called from any thread. Without an
// executor the owner's callbacks run on the monitoring thread; from inside them the owner
// may call RequestTransmission, StopMonitor and ClosePort (both then only ask the thread
// to end), but must not open the port again or destroy it.
class CSerialPort {
public:
    // Maps a port number n (COMn) to a device path ("/dev/ttyUSB0", "\\.\COM5"); nullopt
    // when there is no such port.
    using PortResolver = std::function<std::optional<std::string>(unsigned)>;

    // Why the last OpenPort returned false.
    struct OpenFailure {
        DeviceOpenError error = DeviceOpenError::None;
        std::string devicePath;  // empty when the resolver knew no device for the number
        int systemError = 0;     // errno, or GetLastError on Windows
        std::string accessGroup; // PermissionDenied: the group whose members may open it
    };

    static constexpr std::size_t kTransmitBufferSize = 1950;
    static constexpr std::size_t kMaxTransmitLength = kTransmitBufferSize - 1;
    // Long enough that a byte-paced stream wakes the process some 40 times a second
    // instead of 960, short against the one-second schedule of the owner.
    static constexpr std::chrono::microseconds kDefaultGatherWindow{50000};

    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    void SetPortResolver(PortResolver resolver);
    // How callbacks reach the owner's thread; takes effect at the next StartMonitor.
    void SetOwnerExecutor(OwnerExecutor executor);
    // While bytes trickle in (fewer than a few hundred per window), the thread rests this
    // long after each hand-off and then hands over what came meanwhile in one go; faster
    // input is handed over as it comes. Zero hands over on every wake-up. Takes effect at
    // the next StartMonitor.
    void SetGatherWindow(std::chrono::microseconds window);

    // Stops a running monitor, releases an earlier device, then opens COM<portNumber>
    // through the resolver, which is asked on every call. False, with nothing shown, when it
    // cannot be opened (absent, in use by anyone else, not a terminal, settings refused);
    // LastOpenFailure then says why.
    bool OpenPort(ISerialOwner* owner, unsigned portNumber);
    const OpenFailure& LastOpenFailure() const;
    // Purges both directions, then starts the monitoring thread on the open port; true when
    // it runs (also when it already ran). Every wake-up for input makes one hand-off to the
    // owner: OnCtsChange, then OnReceiveChar for each byte in arrival order; the thread
    // waits until the owner has run it (or a stop abandons it).
    bool StartMonitor();
    // Returns at once when no thread runs, otherwise after it has ended. Never waits for
    // the owner's thread: a delivery in flight is abandoned and, if its queued callable
    // runs later, it does nothing. Called on the owner's thread (also from inside a
    // callback), no callback runs after it returns; the rest of a hand-off is dropped.
    void StopMonitor();
    // Stops the monitor and releases the device so that others can open it.
    void ClosePort();

    bool IsOpen() const;
    bool IsThreadAlive() const;
    unsigned PortNumber() const;

    // The owner's transmission: zero the buffer's first four bytes, copy `text` with its
    // terminating zero (text ends at an embedded zero), signal the thread, do not wait.
    // The thread purges both directions and writes every byte before the zero. A message
    // not yet sent is replaced. False when the port is not open or the text is longer
    // than kMaxTransmitLength (then nothing is sent).
    bool RequestTransmission(std::string_view text);

private:
    std::unique_ptr<PlatformSerialPort> m_platform;
};

} // namespace orvane
