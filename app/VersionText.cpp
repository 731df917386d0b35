#include "app/VersionText.h"

namespace orvane {

std::string VersionText(std::string_view buildDate, std::string_view buildTime) {
    return std::string("Software Version ") + kSoftwareVersion + " Compiled on " +
           std::string(buildDate) + ", " + std::string(buildTime) +
           "\nThe latest version of the Software \n" + "can be downloaded from:";
}

std::string VersionText() {
    const BuildStamp stamp = ExecutableBuildStamp();
    return VersionText(stamp.date, stamp.time);
}

} // namespace orvane
