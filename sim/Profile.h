#pragma once

#include <array>
#include <optional>

#include "core/image/RegisterImage.h"

namespace orvane::sim {

// Register 183: what drives the fans and how their speed is set.
struct ControlMode {
    bool voltageInputs = false; // modes 3 and 4: 0-10 V inputs instead of thermistors
    bool rpmSpeeds = false;     // modes 2 and 4: speeds in RPM instead of PWM percent
};
ControlMode ReadControlMode(const RegisterImage& config);

// A 16-bit word read as two's complement (above 8000 hex it is negative).
int SignedWord(unsigned word);

struct ProfilePoint {
    double input = 0; // °C or V
    double speed = 0; // PWM percent or RPM
};

// One fan's curve as the configuration sets it.
struct FanProfile {
    std::array<ProfilePoint, 8> points{};
    int pointCount = 2;            // Two Point uses points 1 and 8, Multi Point all eight
    std::optional<double> onValue; // empty: Always ON
    std::optional<double> offValue;
    bool input1 = true;
    bool input2 = false;
};

// fan: 0 to 3.
FanProfile ReadFanProfile(const RegisterImage& config, int fan);

// The set speed for an input value: flat outside the first and last point, straight
// lines between neighbouring points.
double CurveSpeed(const FanProfile& profile, double input);

} // namespace orvane::sim
