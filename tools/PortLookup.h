#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

struct ListedPort {
    int number = 0;           // n of COMn
    std::string friendlyName; // "USB Serial Port (COM3)"
    std::string devicePath;
};

// The serial ports of this machine (USB adapters, on-board UARTs and running
// simulators) numbered as the GUI's port list numbers a fresh listing.
std::vector<ListedPort> ListPorts();

struct ResolvedPort {
    std::string devicePath;
    int number = 0; // the COM number, 0 for a device path
    std::string error;
};

// A device path is taken as it is; "COMn" or "n" is looked up in ListPorts.
ResolvedPort ResolvePort(const std::string& port);

} // namespace orvane::cli
