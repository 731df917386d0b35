#include "tools/PortLookup.h"

#include <cctype>
#include <map>

#include "serial/posix/PortEnumeratorLinux.h"

namespace orvane::cli {

namespace {

// The command line keeps no settings: numbers are those of a fresh listing.
class NoSavedNumbers final : public IPortNumberSettings {
public:
    std::map<int, std::string> LoadComAssignments() override { return {}; }
    void SaveComAssignments(const std::map<int, std::string>&) override {}
    std::vector<std::string> ExtraDevicePaths() override { return {}; }
};

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
    NoSavedNumbers settings;
    PortEnumeratorLinux enumerator(settings, {});
    std::vector<ListedPort> out;
    for (const PortDevice& device : enumerator.EnumeratePorts()) {
        const int number = static_cast<int>(PortItemData(device) & 0xFFFF);
        const auto candidate = enumerator.Resolve(number);
        if (number <= 0 || !candidate) {
            continue;
        }
        out.push_back({number, device.friendlyName.value_or(""), candidate->devicePath});
    }
    return out;
}

ResolvedPort ResolvePort(const std::string& port) {
    if (port.find('/') != std::string::npos) {
        return {port, 0, {}};
    }
    const auto number = ComNumberOf(port);
    if (!number) {
        return {{}, 0, "--port takes a device path or a COM number, not \"" + port + "\""};
    }
    for (const ListedPort& listed : ListPorts()) {
        if (listed.number == *number && !listed.devicePath.empty()) {
            return {listed.devicePath, listed.number, {}};
        }
    }
    return {{}, *number, "no port COM" + std::to_string(*number) + " (see orvane-cli ports)"};
}

} // namespace orvane::cli
