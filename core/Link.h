#pragma once

#include <string_view>

namespace orvane {

// The sequencer's way to the controller: the main window implements it with
// CSerialPort, tests with a recording fake. Received bytes come back through
// CSequencer::OnReceiveChar, a failure of an open port through OnLinkFailure.
class ILink {
public:
    virtual ~ILink() = default;
    // Opens COM<portNumber>; false when it cannot be opened (nothing shown).
    virtual bool Open(int portNumber) = 0;
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
