#pragma once

#include <vector>

#include "serial/PortDiscovery.h"

namespace orvane {

// The port list's view of a Windows machine: every device of the COM-port device
// interface class, through the device-setup API, with its "PortName" (where the running
// setupapi offers custom device properties), friendly name and driver service.
class Win32PortEnumerator final : public IPortEnumerator {
public:
    explicit Win32PortEnumerator(bool presentOnly = true) : m_presentOnly(presentOnly) {}

    std::vector<PortDevice> EnumeratePorts() override;

private:
    bool m_presentOnly;
};

} // namespace orvane
