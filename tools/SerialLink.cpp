#include "tools/SerialLink.h"

namespace orvane::cli {

SerialLink::SerialLink(OwnerQueue& queue, std::string devicePath) {
    m_port.SetOwnerExecutor(queue.Executor());
    m_port.SetPortResolver(
        [path = std::move(devicePath)](unsigned) -> std::optional<std::string> { return path; });
}

bool SerialLink::Open(int portNumber) {
    return m_port.OpenPort(this, static_cast<unsigned>(portNumber < 0 ? 0 : portNumber));
}

void SerialLink::OnReceiveChar(std::uint8_t byte, unsigned) {
    if (m_sequencer != nullptr) {
        m_sequencer->OnReceiveChar(byte);
    }
}

void SerialLink::OnPortFailure(unsigned) {
    if (m_sequencer != nullptr) {
        m_sequencer->OnLinkFailure();
    }
}

} // namespace orvane::cli
