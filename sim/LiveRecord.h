#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace orvane::sim {

struct FanReading {
    bool used = false;
    bool failed = false;
    int rpm = 0;        // measured speed
    int setPercent = 0; // set speed as PWM percent
};

// One second of the controller's measured state, as the live record reports it.
struct LiveSample {
    std::array<FanReading, 4> fans{};
    std::array<std::optional<double>, 2> sensors{}; // empty: the sensor has failed
    bool voltageInputs = false;                     // sensors read in volts, not °C
    std::array<bool, 2> switchHigh{};
    std::string alarms; // digits of the active alarm outputs (1 to 4) and relays (5, 6)
    std::uint64_t upTimeSeconds = 0;
};

// The 14 comma-separated fields, each at most 8 characters (field 0 at most 7, since
// the host counts the line feed before it into that field), then ",", CR and LF.
std::string FormatLiveRecord(const LiveSample& sample);

} // namespace orvane::sim
