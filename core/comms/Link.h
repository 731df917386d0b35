#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Why a port could not be opened, sorted by what the user can do about it.
enum class LinkOpenError {
    Unknown,
    NotPresent,       // no device carries the number now, or it vanished
    PermissionDenied, // the user may not read and write the device
    InUse,            // another program holds it
    NotSerial,        // the path names something else than a serial device
    SettingsRefused,  // it refused 9600 baud 8N1
};

struct LinkOpenFailure {
    LinkOpenError error = LinkOpenError::Unknown;
    std::string devicePath;  // empty when no device carries the number now
    std::string accessGroup; // PermissionDenied: the group whose members may open it
    std::string detail;      // the system's own words, where it said more
};

// Why the port could not be opened and what to do about it, in the user's words:
// "is not present - plug the adapter in or choose another port".
std::string OpenFailureReason(const LinkOpenFailure& failure);

// The sequencer's way to the controller: SerialLink over CSerialPort for the window
// and the command line, a recording fake in tests. Received bytes come back through
// Sequencer::OnReceiveChar, a failure of an open port through OnLinkFailure.
class ILink {
public:
    virtual ~ILink() = default;
    // Opens COM<portNumber>; false when it cannot be opened (nothing shown).
    virtual bool Open(int portNumber) = 0;
    // Why the last Open failed; a link that cannot tell says Unknown.
    virtual LinkOpenFailure LastOpenFailure() const { return {}; }
    virtual void StartMonitor() = 0;
    // Stops monitoring and releases the port; harmless when not open.
    virtual void Close() = 0;
    // Queues the bytes for transmission without waiting; a later message
    // replaces one not yet sent.
    virtual void Send(std::string_view bytes) = 0;
    virtual bool IsOpen() const = 0;
};

// Where the number of the last port opened is remembered ("Config"/"ComPort").
class IPortSettings {
public:
    virtual ~IPortSettings() = default;
    virtual void StorePortNumber(int portNumber) = 0;
};

} // namespace orvane
