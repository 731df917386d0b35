#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "serial/ComNumbers.h"
#include "serial/PortDiscovery.h"
#include "serial/posix/PortEnumeratorSysfs.h"

namespace orvane {

// The port list's view of this machine: real serial devices, the extra device
// paths of the settings, the ports the owner adds (the built-in simulated
// controller) and standalone simulators, each named "<description> (COMn)".
class PortEnumeratorLinux final : public IPortEnumerator {
public:
    using CandidateSource = std::function<std::vector<PortCandidate>()>;

    // Every source is asked on each enumeration; the defaults look at this machine.
    PortEnumeratorLinux(IPortNumberSettings& settings, std::vector<PortCandidate> ownPorts,
                        CandidateSource hardware = {}, CandidateSource simulators = {});

    std::vector<PortDevice> EnumeratePorts() override;

    // The port that carries this COM number now, looked for afresh on every call: the
    // device the number stood for in the last listing (or, failing that, the one that
    // holds it in the settings), wherever it is now; nullopt while it is absent.
    std::optional<PortCandidate> Resolve(int comNumber);

private:
    // Every port of every source, in listing order, before numbering.
    std::vector<PortCandidate> Candidates();

    IPortNumberSettings& m_settings;
    ComNumbers m_numbers;
    std::vector<PortCandidate> m_ownPorts;
    CandidateSource m_hardware;
    CandidateSource m_simulators;
    std::map<int, PortCandidate> m_lastListing;
};

} // namespace orvane
