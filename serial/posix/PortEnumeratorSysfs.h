#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// A port the list offers, before it is given its COM number.
struct PortCandidate {
    std::string identity;    // stable across runs and re-plugs where the device allows
    std::string description; // the friendly name without "(COMn)"
    std::string devicePath;  // what to open; empty when the owner supplies it on demand
    std::optional<std::string> service;
    bool remember = true; // false: numbered for this listing only
};

// Serial devices that really exist, found through sysfs: USB adapters, modems and
// on-board UARTs whose hardware answered at boot (serial-core type not 0).
std::vector<PortCandidate> ScanSerialDevices(const std::string& sysRoot = "/sys",
                                             const std::string& devRoot = "/dev");

// Device paths named in the settings; those not present now are left out.
std::vector<PortCandidate> ExtraDeviceCandidates(const std::vector<std::string>& paths);

// Pseudo-terminals of standalone simulator processes of this user, found through
// /proc: a pty master or slave held by a process named "orvane-sim".
std::vector<PortCandidate> ScanSimulatorProcesses(const std::string& procRoot = "/proc",
                                                  const std::string& ptsDir = "/dev/pts");

} // namespace orvane
