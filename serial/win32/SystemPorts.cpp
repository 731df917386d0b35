#include "serial/SystemPorts.h"

#include <windows.h>

#include "serial/PortDiscovery.h"
#include "serial/win32/Win32PortEnumerator.h"

namespace orvane {

std::vector<SystemPort> ListSystemPorts() {
    Win32PortEnumerator enumerator;
    std::vector<SystemPort> out;
    for (const PortDevice& device : enumerator.EnumeratePorts()) {
        const int number = static_cast<int>(PortItemData(device) & 0xFFFF);
        if (number > 0) {
            out.push_back({number, device.friendlyName.value_or("COM" + std::to_string(number)),
                           *SystemPortPath(number)});
        }
    }
    return out;
}

std::optional<std::string> SystemPortPath(int number) {
    if (number <= 0) {
        return std::nullopt;
    }
    // The device namespace reaches every COM number, COM10 and above included.
    return "\\\\.\\COM" + std::to_string(number);
}

bool IsDevicePath(const std::string& port) {
    return port.find('\\') != std::string::npos || port.find('/') != std::string::npos;
}

} // namespace orvane
