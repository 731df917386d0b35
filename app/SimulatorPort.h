#pragma once

#include <optional>
#include <string>

#include "serial/posix/PortEnumeratorSysfs.h"
#include "sim/SimulatorHost.h"

namespace orvane {

// The built-in simulated controller as a port of the list. It starts when its port
// is first opened, not at start-up: users with a real controller pay nothing for
// it, and it then keeps running (and keeps its configuration) across reconnects,
// as a powered controller would.
class SimulatorPort {
public:
    static constexpr const char* kIdentity = "builtin:simulated-controller";
    static constexpr const char* kDescription = "Simulated controller";

    explicit SimulatorPort(sim::SimulatorOptions options = {}) : m_options(std::move(options)) {}

    // The entry the port list shows; its device path is found on opening.
    static PortCandidate Candidate();

    // The pseudo-terminal to open, starting the simulator when it does not run
    // (again after its line was dropped); empty when it cannot start.
    std::optional<std::string> DevicePath();

    sim::SimulatorHost& Host() { return m_host; }

private:
    sim::SimulatorOptions m_options;
    sim::SimulatorHost m_host;
    std::string m_path;
};

} // namespace orvane
