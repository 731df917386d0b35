#pragma once

namespace orvane {

// Why a device could not be opened, sorted by what the user can do about it.
enum class DeviceOpenError {
    None,
    NotPresent,       // no such device, or no hardware behind it
    PermissionDenied, // the user may not read and write it
    InUse,            // another program holds it exclusively
    NotATerminal,     // the name stands for something else than a serial device
    SetupFailed,      // it refused the line settings
    Other,
};

} // namespace orvane
