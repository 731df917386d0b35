#pragma once

#include <string>
#include <string_view>

#include "core/comms/Link.h"
#include "core/comms/Sequencer.h"
#include "serial/OwnerQueue.h"
#include "serial/SerialOwner.h"
#include "serial/SerialPort.h"

namespace orvane::cli {

// The sequencer's link on a real serial device, for a program without a GUI: the
// port's notifications are queued and run on the thread that drains the queue, so the
// sequencer only ever runs on that one thread.
class SerialLink final : public ILink, private ISerialOwner {
public:
    // Every port number opens `devicePath`.
    SerialLink(OwnerQueue& queue, std::string devicePath);

    // Where received bytes and a port failure go; set before the first Open.
    void Attach(Sequencer& sequencer) { m_sequencer = &sequencer; }

    bool Open(int portNumber) override;
    void StartMonitor() override { m_port.StartMonitor(); }
    void Close() override { m_port.ClosePort(); }
    void Send(std::string_view bytes) override { m_port.RequestTransmission(bytes); }
    bool IsOpen() const override { return m_port.IsOpen(); }

private:
    void OnReceiveChar(std::uint8_t byte, unsigned port) override;
    void OnPortFailure(unsigned port) override;

    CSerialPort m_port;
    Sequencer* m_sequencer = nullptr;
};

} // namespace orvane::cli
