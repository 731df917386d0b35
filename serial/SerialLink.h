#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/comms/Link.h"
#include "serial/SerialOwner.h"
#include "serial/SerialPort.h"

namespace orvane {

// The sequencer's link over CSerialPort, for every front end. The port's notifications
// reach the owner's thread through `handOff` (the window's event loop, the command line's
// queue), so the receive buffer is only touched there.
class SerialLink final : public ILink, private ISerialOwner {
public:
    SerialLink(OwnerExecutor handOff, CSerialPort::PortResolver resolver,
               std::function<void(std::uint8_t)> onByte, std::function<void()> onFailure);

    bool Open(int portNumber) override;
    LinkOpenFailure LastOpenFailure() const override;
    void StartMonitor() override { m_port.StartMonitor(); }
    void Close() override { m_port.ClosePort(); }
    void Send(std::string_view bytes) override { m_port.RequestTransmission(bytes); }
    bool IsOpen() const override { return m_port.IsOpen(); }

private:
    void OnReceiveChar(std::uint8_t byte, unsigned port) override;
    void OnPortFailure(unsigned port) override;

    std::function<void(std::uint8_t)> m_onByte;
    std::function<void()> m_onFailure;
    CSerialPort m_port; // last: stopped before the callbacks above go
};

} // namespace orvane
