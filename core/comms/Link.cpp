#include "core/comms/Link.h"

namespace orvane {

std::string OpenFailureReason(const LinkOpenFailure& failure) {
    switch (failure.error) {
    case LinkOpenError::PermissionDenied:
        return failure.accessGroup.empty()
                   ? "permission denied - ask your administrator for read and write access to "
                     "the device"
                   : "permission denied - add your user to the '" + failure.accessGroup +
                         "' group and log in again";
    case LinkOpenError::InUse:
        return "is in use by another program - close it there or choose another port";
    case LinkOpenError::NotPresent:
        return "is not present - plug the adapter in or choose another port";
    case LinkOpenError::NotSerial:
        return "is not a serial port - choose another port";
    case LinkOpenError::SettingsRefused:
        return "refuses 9600 baud, 8 data bits, no parity, 1 stop bit - choose another port";
    case LinkOpenError::Unknown:
        break;
    }
    return "could not be opened" + (failure.detail.empty() ? "" : " (" + failure.detail + ")");
}

} // namespace orvane
