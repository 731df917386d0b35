#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "serial/DeviceOpenError.h"

namespace orvane {

// Device calls of the serial port on a tty descriptor (termios, flock, poll).

struct DeviceOpenOutcome {
    int fd = -1; // non-blocking, close-on-exec; -1 on failure
    DeviceOpenError error = DeviceOpenError::None;
    int systemError = 0; // errno of the call that failed
};

// Opens `path` for exclusive use, 9600 baud 8N1, raw, no flow control, RTS on, both
// directions purged.
DeviceOpenOutcome OpenSerialDevice(const std::string& path);
// The group whose members may read and write the device at `path`, when membership is
// what access depends on (the group has both rights and is not root's); empty otherwise.
std::string DeviceAccessGroup(const std::string& path);
// Gives up exclusivity and closes.
void CloseSerialDevice(int fd);
// Discards unread input and unsent output.
bool PurgeSerialDevice(int fd);

enum class ReadOutcome { Drained, Full, HungUp, Failed };
// Appends what the device holds to `bytes` until it has no more or `bytes` reaches
// `limit`. A read of 0 bytes means hang-up (the far end or the adapter is gone).
ReadOutcome ReadAvailable(int fd, std::vector<std::uint8_t>& bytes, std::size_t limit);

enum class WriteOutcome { Written, Stopped, Failed };
// Writes every byte of `text`, waiting for room until `deadline`; gives up at once with
// Stopped when `stopFd` becomes readable.
WriteOutcome WriteAll(int fd, std::string_view text, int stopFd,
                      std::chrono::steady_clock::time_point deadline);

} // namespace orvane
