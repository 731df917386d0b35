#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// One serial device as the platform reports it; a property that cannot be read
// is missing, as with the Windows device-setup properties this mirrors.
struct PortDevice {
    std::optional<std::string> portName;     // "COM5"
    std::optional<std::string> friendlyName; // "USB Serial Port (COM5)"
    std::optional<std::string> service;      // driver service; missing counts as "Serial"
};

class IPortEnumerator {
public:
    virtual ~IPortEnumerator() = default;
    virtual std::vector<PortDevice> EnumeratePorts() = 0;
};

// Set in an item's data when the driver service is known and is not "Serial".
inline constexpr std::uint32_t kNonSerialServiceFlag = 0x10000;

struct PortListOptions {
    bool includeNoneItem = true;
    bool onlySerialService = false;
    std::string noneText = "<None>";
};

struct PortListItem {
    std::string text;
    std::uint32_t data = 0;
};

struct PortList {
    std::vector<PortListItem> items; // sorted by text
    int selectedIndex = -1;          // -1: nothing selected
};

// The port number of a device with its non-serial flag, or 0 when it has none:
// taken from the port name, else from "(COMn)" in the friendly name.
std::uint32_t PortItemData(const PortDevice& device);

// The list a port combo shows after a fill: items sorted by text, the item whose
// number is selectedPort selected; failing that the none item (when included) or
// the only item of a one-item list.
PortList BuildPortList(const std::vector<PortDevice>& devices, const PortListOptions& options,
                       int selectedPort);

} // namespace orvane
