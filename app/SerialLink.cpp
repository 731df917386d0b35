#include "app/SerialLink.h"

namespace orvane {

SerialLink::SerialLink(QObject* receiver, CSerialPort::PortResolver resolver,
                       std::function<void(std::uint8_t)> onByte, std::function<void()> onFailure)
    : m_onByte(std::move(onByte)), m_onFailure(std::move(onFailure)) {
    m_port.SetPortResolver(std::move(resolver));
    // The port stops its thread before the receiver goes (the receiver owns this
    // link), and Qt drops calls still queued for a receiver that is destroyed.
    m_port.SetOwnerExecutor([receiver](std::function<void()> call) {
        QMetaObject::invokeMethod(receiver, std::move(call), Qt::QueuedConnection);
    });
}

bool SerialLink::Open(int portNumber) {
    return portNumber > 0 && m_port.OpenPort(this, static_cast<unsigned>(portNumber));
}

void SerialLink::OnReceiveChar(std::uint8_t byte, unsigned) {
    m_onByte(byte);
}

void SerialLink::OnPortFailure(unsigned) {
    m_onFailure();
}

} // namespace orvane
