#include "core/rules/ProfileChartPoints.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/image/Conversions.h"

namespace orvane::profile {

namespace {

constexpr double kPwmAxisMax = 105.0;
constexpr double kRpmHeadroom = 100.0;
constexpr std::size_t kSensorField = 8;

bool Failed(const std::string& text) {
    return text.find("FAIL") != std::string::npos;
}

std::optional<double> Reading(const LiveFields& fields, int input) {
    const std::string& text = fields[kSensorField + static_cast<std::size_t>(input - 1)];
    const auto value = Failed(text) ? std::nullopt : ScanReal(text);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

} // namespace

ChartAxes InitialChartAxes() {
    return {{"Temperature (°C)", -20.0, 100.0}, {"Fan Speed (%)", 0.0, kPwmAxisMax}};
}

ChartAxes ChartAxesFor(const ProfileType& type) {
    ChartAxes axes;
    axes.input = type.IsVoltage() ? ChartAxis{"Voltage(V)", 0.0, 10.0}
                                  : ChartAxis{"Temperature (°C)", -20.0, 100.0};
    axes.speed = type.speed == SpeedUnit::Pwm
                     ? ChartAxis{"Fan Speed (PWM %)", 0.0, kPwmAxisMax}
                     : ChartAxis{"Fan Speed (RPM)", 0.0, double(type.highestRpm) + kRpmHeadroom};
    return axes;
}

Rgb FanCurveColour(int fan) {
    static constexpr std::array<Rgb, reg::kFanCount> kColours{Rgb{10, 20, 30}, Rgb{255, 20, 20},
                                                              Rgb{30, 30, 255}, Rgb{40, 178, 25}};
    return kColours.at(static_cast<std::size_t>(fan - 1));
}

std::vector<ProfilePoint> CurvePoints(const ProfileRecord& record, const ProfileType& type) {
    switch (record.pointMode) {
    case PointMode::TwoPoint:
        return {record.start,
                record.onPoint,
                record.Point(1),
                record.Point(8),
                {type.InputMax() + 1.0, record.Point(8).y}};
    case PointMode::MultiPoint: {
        std::vector<ProfilePoint> points{record.start, record.onPoint};
        points.insert(points.end(), record.points.begin(), record.points.end());
        points.push_back(record.end);
        return points;
    }
    case PointMode::None:
        break;
    }
    return {};
}

std::optional<ProfilePoint> OperatingPoint(const LiveFields& fields, const ProfileRecord& record,
                                           const ProfileType& type, int fan) {
    std::optional<double> input;
    switch (record.activeInput) {
    case ActiveInput::Input1:
        input = Reading(fields, 1);
        break;
    case ActiveInput::Input2:
        input = Reading(fields, 2);
        break;
    case ActiveInput::Either: {
        // The higher reading has priority, as the controller takes it.
        const auto first = Reading(fields, 1);
        const auto second = Reading(fields, 2);
        if (first && second) {
            input = std::max(*first, *second);
        }
        break;
    }
    case ActiveInput::None:
        break;
    }
    const std::string& speedText =
        fields[2 * static_cast<std::size_t>(fan - 1) + (type.speed == SpeedUnit::Pwm ? 1 : 0)];
    const auto speed = Failed(speedText) ? std::nullopt : ScanDecimal(speedText);
    if (!input || !speed) {
        return std::nullopt;
    }
    return ProfilePoint{*input, double(*speed)};
}

std::vector<int> EditablePoints(const ProfileRecord& record) {
    switch (record.pointMode) {
    case PointMode::TwoPoint:
        return {1, reg::kPointCount};
    case PointMode::MultiPoint:
        return {1, 2, 3, 4, 5, 6, 7, 8};
    case PointMode::None:
        break;
    }
    return {};
}

ProfilePoint SnapMovedPoint(ProfilePoint at, const ProfileType& type) {
    const double steps = std::round(at.x / type.Step());
    const double x = type.IsVoltage() ? steps / 10.0 : steps;
    return {std::clamp(x, type.InputMin(), type.InputMax()),
            std::clamp(std::round(at.y), 0.0, type.SpeedLimit())};
}

} // namespace orvane::profile
