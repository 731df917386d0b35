#include "app/SimulatorPort.h"

namespace orvane {

PortCandidate SimulatorPort::Candidate() {
    PortCandidate candidate;
    candidate.identity = kIdentity;
    candidate.description = kDescription;
    return candidate;
}

std::optional<std::string> SimulatorPort::DevicePath() {
    if (!m_host.IsRunning()) {
        const sim::StartResult started = m_host.Start(m_options);
        if (!started.ok) {
            return std::nullopt;
        }
        m_path = started.path;
    }
    return m_path;
}

} // namespace orvane
