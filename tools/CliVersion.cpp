#include "tools/CliVersion.h"

namespace orvane::cli {

std::string SoftwareText() {
    const BuildStamp stamp = ExecutableBuildStamp();
    return std::string("orvane-cli ") + ORVANE_VERSION + ", compiled on " + stamp.date + ", " +
           stamp.time;
}

} // namespace orvane::cli
