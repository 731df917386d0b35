#include "app/VersionText.h"

namespace orvane {

std::string VersionText() {
    return std::string("Software Version ") + kSoftwareVersion + " Compiled on " + __DATE__ + ", " +
           __TIME__ + "\nThe latest version of the Software \n" + "can be downloaded from:";
}

} // namespace orvane
