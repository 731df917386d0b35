#include "serial/SerialPort.h"

#include <utility>

#ifdef _WIN32
#include "serial/win32/Win32SerialPort.h"
#else
#include "serial/posix/PosixSerialPort.h"
#endif

namespace orvane {

CSerialPort::CSerialPort() : m_platform(std::make_unique<PlatformSerialPort>()) {}

CSerialPort::~CSerialPort() = default;

void CSerialPort::SetPortResolver(PortResolver resolver) {
    m_platform->SetPortResolver(std::move(resolver));
}

void CSerialPort::SetOwnerExecutor(OwnerExecutor executor) {
    m_platform->SetOwnerExecutor(std::move(executor));
}

void CSerialPort::SetGatherWindow(std::chrono::microseconds window) {
    m_platform->SetGatherWindow(window);
}

bool CSerialPort::OpenPort(ISerialOwner* owner, unsigned portNumber) {
    return m_platform->OpenPort(owner, portNumber);
}

const CSerialPort::OpenFailure& CSerialPort::LastOpenFailure() const {
    return m_platform->LastOpenFailure();
}

bool CSerialPort::StartMonitor() {
    return m_platform->StartMonitor();
}

void CSerialPort::StopMonitor() {
    m_platform->StopMonitor();
}

void CSerialPort::ClosePort() {
    m_platform->ClosePort();
}

bool CSerialPort::IsOpen() const {
    return m_platform->IsOpen();
}

bool CSerialPort::IsThreadAlive() const {
    return m_platform->IsThreadAlive();
}

unsigned CSerialPort::PortNumber() const {
    return m_platform->PortNumber();
}

bool CSerialPort::RequestTransmission(std::string_view text) {
    return m_platform->RequestTransmission(text);
}

} // namespace orvane
