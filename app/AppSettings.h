#pragma once

#include "core/comms/Link.h"
#include "core/rules/DownloadChoices.h"
#include "serial/ComNumbers.h"

namespace orvane {

// The application's saved settings (QSettings, organisation "Halvorn UK"):
// "Config"/"ComPort", the last port opened; "Ports"/"COMn", the device identity
// holding number n; "Ports"/"ExtraDevices", device paths enumeration cannot see;
// "SafeWrite"/..., what a download does besides writing.
class AppSettings final : public IPortSettings, public IPortNumberSettings, public ISafeWriteStore {
public:
    static constexpr const char* kOrganisation = "Halvorn UK";

    // -1 when no port was ever opened.
    int ReadPortNumber() const;
    // Only numbers that stay with their device ("Ports"/"COMn") are stored.
    void StorePortNumber(int portNumber) override;

    std::map<int, std::string> LoadComAssignments() override;
    void SaveComAssignments(const std::map<int, std::string>& assignments) override;
    std::vector<std::string> ExtraDevicePaths() override;

    SafeWriteChoices LoadSafeWriteChoices() const override;
    void StoreSafeWriteChoices(const SafeWriteChoices& choices) override;
};

} // namespace orvane
