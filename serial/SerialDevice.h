#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Device calls of the serial port on a tty descriptor (termios, flock, poll).

// Opens `path` for exclusive use, 9600 baud 8N1, raw, no flow control, RTS on, both
// directions purged. Returns the descriptor (non-blocking, close-on-exec) or -1.
int OpenSerialDevice(const std::string& path);
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
