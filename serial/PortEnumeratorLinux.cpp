#include "serial/PortEnumeratorLinux.h"

namespace orvane {

PortEnumeratorLinux::PortEnumeratorLinux(IPortNumberSettings& settings,
                                         std::vector<PortCandidate> ownPorts,
                                         CandidateSource hardware, CandidateSource simulators)
    : m_settings(settings), m_numbers(settings), m_ownPorts(std::move(ownPorts)),
      m_hardware(hardware ? std::move(hardware) : [] { return ScanSerialDevices(); }),
      m_simulators(simulators ? std::move(simulators) : [] { return ScanSimulatorProcesses(); }) {}

std::vector<PortDevice> PortEnumeratorLinux::EnumeratePorts() {
    std::vector<PortCandidate> candidates = m_hardware();
    for (auto& extra : ExtraDeviceCandidates(m_settings.ExtraDevicePaths())) {
        candidates.push_back(std::move(extra));
    }
    candidates.insert(candidates.end(), m_ownPorts.begin(), m_ownPorts.end());
    for (auto& simulator : m_simulators()) {
        candidates.push_back(std::move(simulator));
    }

    std::vector<ComNumbers::Request> requests;
    requests.reserve(candidates.size());
    for (const auto& candidate : candidates) {
        requests.push_back({candidate.identity, candidate.remember});
    }
    const std::vector<int> numbers = m_numbers.Assign(requests);

    m_lastListing.clear();
    std::vector<PortDevice> devices;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const std::string comName = "COM" + std::to_string(numbers[i]);
        if (!m_lastListing.emplace(numbers[i], candidates[i]).second) {
            continue; // one identity offered twice (an extra path repeating a listed port)
        }
        PortDevice device;
        device.portName = comName;
        device.friendlyName = candidates[i].description + " (" + comName + ")";
        device.service = candidates[i].service;
        devices.push_back(std::move(device));
    }
    return devices;
}

std::optional<PortCandidate> PortEnumeratorLinux::Resolve(int comNumber) {
    if (m_lastListing.count(comNumber) == 0) {
        EnumeratePorts();
    }
    const auto found = m_lastListing.find(comNumber);
    if (found == m_lastListing.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace orvane
