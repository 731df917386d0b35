#include "serial/posix/PortEnumeratorLinux.h"

namespace orvane {

PortEnumeratorLinux::PortEnumeratorLinux(IPortNumberSettings& settings,
                                         std::vector<PortCandidate> ownPorts,
                                         CandidateSource hardware, CandidateSource simulators)
    : m_settings(settings), m_numbers(settings), m_ownPorts(std::move(ownPorts)),
      m_hardware(hardware ? std::move(hardware) : [] { return ScanSerialDevices(); }),
      m_simulators(simulators ? std::move(simulators) : [] { return ScanSimulatorProcesses(); }) {}

std::vector<PortCandidate> PortEnumeratorLinux::Candidates() {
    std::vector<PortCandidate> candidates = m_hardware();
    for (auto& extra : ExtraDeviceCandidates(m_settings.ExtraDevicePaths())) {
        candidates.push_back(std::move(extra));
    }
    candidates.insert(candidates.end(), m_ownPorts.begin(), m_ownPorts.end());
    for (auto& simulator : m_simulators()) {
        candidates.push_back(std::move(simulator));
    }
    return candidates;
}

std::vector<PortDevice> PortEnumeratorLinux::EnumeratePorts() {
    const std::vector<PortCandidate> candidates = Candidates();
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
    // A device path captured at the listing may since belong to another device (an adapter
    // re-plugged comes back under another name), so only the identity is taken from it.
    std::optional<std::string> identity;
    if (const auto listed = m_lastListing.find(comNumber); listed != m_lastListing.end()) {
        identity = listed->second.identity;
    } else {
        const auto remembered = m_settings.LoadComAssignments();
        if (const auto held = remembered.find(comNumber); held != remembered.end()) {
            identity = held->second;
        }
    }
    std::vector<PortCandidate> now = Candidates();
    if (!identity) {
        // Never listed nor remembered: the number as a listing now would give it.
        std::vector<ComNumbers::Request> requests;
        requests.reserve(now.size());
        for (const auto& candidate : now) {
            requests.push_back({candidate.identity, candidate.remember});
        }
        const std::vector<int> numbers = m_numbers.Assign(requests);
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (numbers[i] == comNumber) {
                return now[i];
            }
        }
        return std::nullopt;
    }
    for (auto& candidate : now) {
        if (candidate.identity == *identity) {
            return std::move(candidate);
        }
    }
    return std::nullopt;
}

} // namespace orvane
