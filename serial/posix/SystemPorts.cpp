#include "serial/SystemPorts.h"

#include <map>

#include "serial/posix/PortEnumeratorLinux.h"

namespace orvane {

namespace {

// Numbers are those of a fresh listing: nothing is remembered between runs.
class NoSavedNumbers final : public IPortNumberSettings {
public:
    std::map<int, std::string> LoadComAssignments() override { return {}; }
    void SaveComAssignments(const std::map<int, std::string>&) override {}
    std::vector<std::string> ExtraDevicePaths() override { return {}; }
};

} // namespace

std::vector<SystemPort> ListSystemPorts() {
    NoSavedNumbers settings;
    PortEnumeratorLinux enumerator(settings, {});
    std::vector<SystemPort> out;
    for (const PortDevice& device : enumerator.EnumeratePorts()) {
        const int number = static_cast<int>(PortItemData(device) & 0xFFFF);
        const auto candidate = enumerator.Resolve(number);
        if (number <= 0 || !candidate || candidate->devicePath.empty()) {
            continue;
        }
        out.push_back({number, device.friendlyName.value_or(""), candidate->devicePath});
    }
    return out;
}

std::optional<std::string> SystemPortPath(int number) {
    for (const SystemPort& port : ListSystemPorts()) {
        if (port.number == number) {
            return port.devicePath;
        }
    }
    return std::nullopt;
}

bool IsDevicePath(const std::string& port) {
    return port.find('/') != std::string::npos;
}

} // namespace orvane
