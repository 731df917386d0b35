#include "core/rules/ProfileChartPoints.h"

#include <array>

namespace orvane::profile {

namespace {

constexpr double kPwmAxisMax = 105.0;
constexpr double kRpmHeadroom = 100.0;

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

} // namespace orvane::profile
