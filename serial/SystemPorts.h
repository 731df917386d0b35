#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The serial ports of this machine for a program that keeps no settings (the command-line
// tool): each with its COM number, as a fresh port list numbers them, and the device to open.
struct SystemPort {
    int number = 0;           // n of COMn
    std::string friendlyName; // "USB Serial Port (COM3)"
    std::string devicePath;   // "/dev/ttyUSB0", "\\.\COM3"
};

std::vector<SystemPort> ListSystemPorts();

// The device that COM<number> opens now; nullopt when there is none. On Windows every
// number names its device, present or not: opening it tells.
std::optional<std::string> SystemPortPath(int number);

// True when `port` names a device by its path rather than by a COM number.
bool IsDevicePath(const std::string& port);

} // namespace orvane
