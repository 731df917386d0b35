#pragma once

// A fan's speed curve as the "Multi Point/Speed" page edits it: the points in the
// units shown on the page (°C or V; PWM % or RPM), and the profile type that says
// which units those are and where the curve must stay.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/RegisterLayout.h"

namespace orvane::profile {

enum class InputKind { Temperature, Voltage };
enum class SpeedUnit { Pwm, Rpm };

// Register 183 (one for all fans) with the highest data-sheet RPM of the four fans.
struct ProfileType {
    InputKind input = InputKind::Temperature;
    SpeedUnit speed = SpeedUnit::Pwm;
    unsigned highestRpm = 0;

    bool IsVoltage() const { return input == InputKind::Voltage; }
    double InputMin() const { return IsVoltage() ? 0.0 : -20.0; }
    double InputMax() const { return IsVoltage() ? 10.0 : 100.0; }
    double Step() const { return IsVoltage() ? 0.1 : 1.0; }
    double SpeedLimit() const { return speed == SpeedUnit::Pwm ? 100.0 : double(highestRpm); }

    // The value truncated toward zero at the resolution of the step: whole degrees,
    // tenths of a volt. Two inputs are in order when these differ.
    double Steps(double value) const;
    // The nearest value a register can express (hundredths of a volt, whole degrees
    // are kept as they are).
    double Snap(double value) const;

    bool operator==(const ProfileType&) const = default;
};

// The type register 183 names ("0001" to "0004"), or none for any other text.
std::optional<ProfileType> ReadProfileType(const RegisterImage& image);
// The largest "Data Sheet Max Fan RPM" of the four fans.
unsigned HighestDataSheetRpm(const RegisterImage& image);

struct ProfilePoint {
    double x = 0.0; // input
    double y = 0.0; // speed
    bool operator==(const ProfilePoint&) const = default;
};

enum class PointMode { None = 0, TwoPoint = 1, MultiPoint = 2 };
enum class OnOffMode { None = 0, AlwaysOn = 1, Switched = 2 };
enum class ActiveInput { None = 0, Input1 = 1, Input2 = 2, Either = 3 };

struct ProfileRecord {
    ProfilePoint start;   // first point of the drawn curve
    ProfilePoint onPoint; // x is the ON value
    std::array<ProfilePoint, reg::kPointCount> points{};
    ProfilePoint end; // input maximum + 1 at point 8's speed
    double offValue = 0.0;
    PointMode pointMode = PointMode::TwoPoint;
    ActiveInput activeInput = ActiveInput::None;
    OnOffMode onOffMode = OnOffMode::Switched;

    double OnValue() const { return onPoint.x; }
    // Point 1 to 8.
    ProfilePoint& Point(int point) { return points.at(static_cast<std::size_t>(point - 1)); }
    const ProfilePoint& Point(int point) const {
        return points.at(static_cast<std::size_t>(point - 1));
    }
    bool operator==(const ProfileRecord&) const = default;
};

// What a typed entry holds, bounded to what its register can carry (never wrapped).
// Input of a point: a whole number of degrees, or volts read as a real number and
// kept to the hundredth the register holds.
double PointInputFromText(std::string_view text, InputKind kind);
// Speed of a point: 0 to 65535.
double SpeedFromText(std::string_view text);
// ON and OFF values: a whole number in the input's unit.
double OnOffFromText(std::string_view text);
// The whole number a switched fan's ON or OFF register takes for `value`: within a
// signed word, and never -999, whose word FC19 marks the fan Always ON; that value
// goes one unit down, so that OFF stays below ON and ON below point 1.
double StorableOnOff(double value);

// What the page's boxes show: voltages of points with one decimal, everything else
// as a whole number truncated toward zero.
std::string FormatPointInput(double value, InputKind kind);
std::string FormatWhole(double value);

} // namespace orvane::profile
