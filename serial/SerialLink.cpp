#include "serial/SerialLink.h"

#include <cstring>

namespace orvane {

namespace {

LinkOpenError LinkErrorOf(DeviceOpenError error) {
    switch (error) {
    case DeviceOpenError::NotPresent:
        return LinkOpenError::NotPresent;
    case DeviceOpenError::PermissionDenied:
        return LinkOpenError::PermissionDenied;
    case DeviceOpenError::InUse:
        return LinkOpenError::InUse;
    case DeviceOpenError::NotATerminal:
        return LinkOpenError::NotSerial;
    case DeviceOpenError::SetupFailed:
        return LinkOpenError::SettingsRefused;
    case DeviceOpenError::None:
    case DeviceOpenError::Other:
        break;
    }
    return LinkOpenError::Unknown;
}

} // namespace

SerialLink::SerialLink(OwnerExecutor handOff, CSerialPort::PortResolver resolver,
                       std::function<void(std::uint8_t)> onByte, std::function<void()> onFailure)
    : m_onByte(std::move(onByte)), m_onFailure(std::move(onFailure)) {
    m_port.SetPortResolver(std::move(resolver));
    m_port.SetOwnerExecutor(std::move(handOff));
}

bool SerialLink::Open(int portNumber) {
    // No port carries a number below 1; the port then says that none is present.
    return m_port.OpenPort(this, static_cast<unsigned>(portNumber > 0 ? portNumber : 0));
}

LinkOpenFailure SerialLink::LastOpenFailure() const {
    const CSerialPort::OpenFailure& failure = m_port.LastOpenFailure();
    LinkOpenFailure described{
        LinkErrorOf(failure.error), failure.devicePath, failure.accessGroup, {}};
    if (described.error == LinkOpenError::Unknown && failure.systemError != 0) {
        described.detail = std::strerror(failure.systemError);
    }
    return described;
}

void SerialLink::OnReceiveChar(std::uint8_t byte, unsigned) {
    m_onByte(byte);
}

void SerialLink::OnPortFailure(unsigned) {
    m_onFailure();
}

} // namespace orvane
