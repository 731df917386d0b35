#pragma once

#include <array>
#include <optional>

#include "core/image/RegisterImage.h"

namespace orvane::sim {

inline constexpr int kAlarmCount = 6;
using AlarmStates = std::array<bool, kAlarmCount>;

// What the alarm conditions look at.
struct AlarmInputs {
    std::array<std::optional<double>, 2> sensors{}; // °C or V; empty: failed
    std::array<bool, 2> switchHigh{};
    std::array<bool, 4> fanFailed{};
};

// Which of the six alarms are raised now. An alarm already raised clears only once
// its limit conditions are passed back by the alarm's hysteresis. Alarms 5 and 6
// exist only with the power relay board enabled (register 184 bit 1).
AlarmStates EvaluateAlarms(const RegisterImage& config, const AlarmInputs& inputs,
                           const AlarmStates& raisedBefore);

// The speed that the raised alarms set for a fan (0 to 3), if any: alarm 1 has
// priority over alarm 2, and so on.
std::optional<double> AlarmFanSpeed(const RegisterImage& config, const AlarmStates& raised,
                                    int fan);

} // namespace orvane::sim
