#pragma once

// What the profile chart draws: its axes for each profile type, the colours and
// widths of the fans' curves, and the list of points a fan's curve runs through.

#include <optional>
#include <string>
#include <vector>

#include "core/comms/LiveFields.h"
#include "core/rules/ProfileRecord.h"

namespace orvane::profile {

struct ChartAxis {
    std::string title;
    double min = 0.0;
    double max = 0.0;
    bool operator==(const ChartAxis&) const = default;
};

struct ChartAxes {
    ChartAxis input; // bottom
    ChartAxis speed; // left
    bool operator==(const ChartAxes&) const = default;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kChartBackground{224, 255, 89};
inline constexpr int kSelectedCurveWidth = 4;
inline constexpr int kOtherCurveWidth = 1;

// The axes before any profile type is known.
ChartAxes InitialChartAxes();
// Fixed ranges: the input range of the type, the speed up to a little above its limit.
ChartAxes ChartAxesFor(const ProfileType& type);

// Fan 1 to 4.
Rgb FanCurveColour(int fan);

// The points of a fan's curve, in drawing order, for the fan's own point mode:
// Two Point: start, ON point, point 1, point 8, the end (5 points); Multi Point:
// start, ON point, points 1 to 8, the end (11 points); no points for another mode.
// A switched fan's curve rises straight up at its ON value; the OFF value is not drawn.
std::vector<ProfilePoint> CurvePoints(const ProfileRecord& record, const ProfileType& type);

// A fan's operating point in a live record: the reading of its active input (the higher
// of the two when either input is active) against its speed, the set PWM % for a PWM
// profile and the measured RPM for an RPM profile. None without an active input or
// where a reading it needs failed or holds no number.
std::optional<ProfilePoint> OperatingPoint(const LiveFields& fields, const ProfileRecord& record,
                                           const ProfileType& type, int fan);

// The points of a fan's curve whose boxes can be edited: 1 and 8 for Two Point, 1 to 8
// for Multi Point.
std::vector<int> EditablePoints(const ProfileRecord& record);

// Where a point moved by hand lands: on the steps its boxes take (1 °C or 0.1 V; 1 % or
// 1 RPM), within the type's input range and speed limit.
ProfilePoint SnapMovedPoint(ProfilePoint at, const ProfileType& type);

} // namespace orvane::profile
