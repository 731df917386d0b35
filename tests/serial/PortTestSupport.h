#pragma once

#include <map>
#include <string>
#include <vector>

#include "serial/ComNumbers.h"
#include "serial/PortDiscovery.h"

namespace orvane::test {

// Port-number settings held in memory, as a test's stand-in for the saved settings.
class MemorySettings final : public IPortNumberSettings {
public:
    std::map<int, std::string> LoadComAssignments() override { return stored; }
    void SaveComAssignments(const std::map<int, std::string>& assignments) override {
        stored = assignments;
        ++saves;
    }
    std::vector<std::string> ExtraDevicePaths() override { return extra; }

    std::map<int, std::string> stored;
    std::vector<std::string> extra;
    int saves = 0;
};

// "text=data" for each item, the selected one marked with "*".
inline std::string Show(const PortList& list) {
    std::string shown;
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        shown += static_cast<int>(i) == list.selectedIndex ? " *" : " ";
        shown += list.items[i].text + "=" + std::to_string(list.items[i].data);
    }
    return shown;
}

} // namespace orvane::test
