#include "LiveRecord.h"

#include <algorithm>
#include <cstdio>

namespace orvane::sim {

namespace {

// A standing fan reads "    0": the host looks for two blanks and a 0.
std::string SpeedField(const FanReading& fan) {
    if (fan.used && fan.failed) {
        return "FAIL";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%5d", fan.used ? fan.rpm : 0);
    return text;
}

// A zero set speed reads exactly "  0", which the host takes as "no set speed".
std::string SetSpeedField(const FanReading& fan) {
    char text[16];
    std::snprintf(text, sizeof text, "%3d", fan.used ? fan.setPercent : 0);
    return text;
}

std::string SensorField(const std::optional<double>& value, bool volts) {
    if (!value) {
        return "FAIL";
    }
    // Kept to what fits the field whatever a held value says.
    const double shown = std::clamp(*value, -99.0, 999.0);
    char text[32];
    std::snprintf(text, sizeof text, volts ? "%5.2f" : "%5.1f", shown);
    return text;
}

// Up to 7 digits: the field must stay within 8 characters with its "s".
std::string UpTimeField(std::uint64_t seconds) {
    return std::to_string(seconds % 10'000'000u) + "s";
}

} // namespace

std::string FormatLiveRecord(const LiveSample& sample) {
    std::string record;
    for (const FanReading& fan : sample.fans) {
        record += SpeedField(fan) + "," + SetSpeedField(fan) + ",";
    }
    for (const auto& sensor : sample.sensors) {
        record += SensorField(sensor, sample.voltageInputs) + ",";
    }
    for (bool high : sample.switchHigh) {
        record += high ? " HI ," : " LO ,";
    }
    record += (sample.alarms.empty() ? std::string("0") : sample.alarms) + ",";
    record += UpTimeField(sample.upTimeSeconds) + ",\r\n";
    return record;
}

} // namespace orvane::sim
