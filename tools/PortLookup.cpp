#include "tools/PortLookup.h"

#include <cctype>

#include "serial/SystemPorts.h"

namespace orvane::cli {

namespace {

std::optional<int> ComNumberOf(const std::string& port) {
    std::string digits = port;
    if (digits.size() > 3 &&
        (digits.compare(0, 3, "COM") == 0 || digits.compare(0, 3, "com") == 0)) {
        digits = digits.substr(3);
    }
    if (digits.empty() || digits.size() > 4) {
        return std::nullopt;
    }
    for (const char c : digits) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return std::nullopt;
        }
    }
    return std::stoi(digits);
}

} // namespace

std::vector<ListedPort> ListPorts() {
    std::vector<ListedPort> out;
    for (const SystemPort& port : ListSystemPorts()) {
        out.push_back({port.number, port.friendlyName, port.devicePath});
    }
    return out;
}

ResolvedPort ResolvePort(const std::string& port) {
    if (IsDevicePath(port)) {
        return {port, 0, {}};
    }
    const auto number = ComNumberOf(port);
    if (!number) {
        return {{}, 0, "--port takes a device path or a COM number, not \"" + port + "\""};
    }
    if (const auto path = SystemPortPath(*number)) {
        return {*path, *number, {}};
    }
    return {{}, *number, "no port COM" + std::to_string(*number) + " (see orvane-cli ports)"};
}

} // namespace orvane::cli
