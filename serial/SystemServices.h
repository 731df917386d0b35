#pragma once

#include <ctime>
#include <string>

namespace orvane {

// What the toolkit-free programs need of the system beyond the standard library, so that
// core/ and tools/ stay free of platform calls.

// The system's own words for an error code (errno, or GetLastError on Windows).
std::string SystemErrorText(int code);

// True when the standard error stream is a terminal (progress may then be drawn on it).
bool StandardErrorIsTerminal();

// The local calendar time of `when`.
std::tm LocalTime(std::time_t when);

} // namespace orvane
