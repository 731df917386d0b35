#pragma once

#include <map>
#include <string>
#include <vector>

namespace orvane {

// Where the port list keeps what it must remember between runs: which device
// identity holds which COM number, and device paths that enumeration cannot see.
class IPortNumberSettings {
public:
    virtual ~IPortNumberSettings() = default;
    virtual std::map<int, std::string> LoadComAssignments() = 0;
    virtual void SaveComAssignments(const std::map<int, std::string>& assignments) = 0;
    virtual std::vector<std::string> ExtraDevicePaths() = 0;
};

// Gives each device a COM number the way Windows does: a device keeps the number
// it was first given, and a new device takes the lowest number nobody holds.
class ComNumbers {
public:
    explicit ComNumbers(IPortNumberSettings& settings) : m_settings(settings) {}

    struct Request {
        std::string identity;
        bool remember = true; // false: a short-lived device, numbered for this listing only
    };

    // One number per request, in request order; remembered ones are saved.
    std::vector<int> Assign(const std::vector<Request>& requests);

private:
    IPortNumberSettings& m_settings;
};

} // namespace orvane
