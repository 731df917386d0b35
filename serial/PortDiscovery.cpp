#include "serial/PortDiscovery.h"

#include <algorithm>
#include <cctype>

namespace orvane {

namespace {

std::optional<std::string> PortNameFromFriendlyName(const std::string& friendly) {
    const auto open = friendly.find("(COM");
    if (open == std::string::npos) {
        return std::nullopt;
    }
    const auto close = friendly.find(')', open + 1);
    if (close == std::string::npos) {
        return friendly.substr(open + 1);
    }
    return friendly.substr(open + 1, close - open - 1);
}

// ASCII case-insensitive order, as the port list sorts and as service names compare.
int CompareNoCase(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::uint32_t LeadingNumber(const std::string& text) {
    std::uint32_t number = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            break;
        }
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
        if (number > 0xFFFF) {
            return 0; // no such COM port; treated like a name without a number
        }
    }
    return number;
}

} // namespace

std::uint32_t PortItemData(const PortDevice& device) {
    std::optional<std::string> name = device.portName;
    if (!name && device.friendlyName) {
        name = PortNameFromFriendlyName(*device.friendlyName);
    }
    if (!name || name->size() < 3 || name->compare(0, 3, "COM") != 0) {
        return 0;
    }
    std::uint32_t number = LeadingNumber(name->substr(3));
    const std::string service = device.service.value_or("Serial");
    if (number != 0 && CompareNoCase(service, "Serial") != 0) {
        number += kNonSerialServiceFlag;
    }
    return number;
}

PortList BuildPortList(const std::vector<PortDevice>& devices, const PortListOptions& options,
                       int selectedPort) {
    PortList list;
    if (options.includeNoneItem) {
        list.items.push_back({options.noneText, 0});
    }
    for (const auto& device : devices) {
        const std::uint32_t data = PortItemData(device);
        if ((data & 0xFFFF) == 0) {
            continue;
        }
        if (options.onlySerialService && (data & kNonSerialServiceFlag) != 0) {
            continue;
        }
        list.items.push_back({device.friendlyName.value_or(std::string{}), data});
    }
    std::stable_sort(list.items.begin(), list.items.end(),
                     [](const PortListItem& a, const PortListItem& b) {
                         return CompareNoCase(a.text, b.text) < 0;
                     });

    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const auto& item = list.items[i];
        if (item.data != 0 && static_cast<int>(item.data & 0xFFFF) == selectedPort) {
            list.selectedIndex = static_cast<int>(i);
        }
    }
    if (list.selectedIndex < 0) {
        if (options.includeNoneItem || list.items.size() == 1) {
            list.selectedIndex = list.items.empty() ? -1 : 0;
        }
    }
    return list;
}

} // namespace orvane
