#include "core/rules/ProfileCleanup.h"

#include <cmath>

namespace orvane::profile {

namespace {

void LimitSpeed(double& speed, double limit) {
    if (std::trunc(speed) > limit) {
        speed = limit;
    }
}

// Lowers `lower` to one step below `upper` unless it already is below it.
void KeepBelow(double& lower, double upper, const ProfileType& type) {
    if (type.Steps(lower) >= type.Steps(upper)) {
        lower = type.Snap(upper - type.Step());
    }
}

// An ON or OFF value its register cannot hold becomes the one it will hold, so that
// the page shows what is stored.
void KeepStorable(double& onOff) {
    if (StorableOnOff(onOff) != std::trunc(onOff)) {
        onOff = StorableOnOff(onOff);
    }
}

// Point 8 within the input range at the resolution its register holds: a voltage in
// hundredths, so that 10.09 V is over 10 V.
void CapPoint8(double& input, const ProfileType& type) {
    const bool over = type.IsVoltage() ? type.Snap(input) > type.InputMax()
                                       : type.Steps(input) > type.Steps(type.InputMax());
    if (over) {
        input = type.InputMax();
    }
}

void DeriveStart(ProfileRecord& record, const ProfileType& type) {
    const double speed1 = record.Point(1).y;
    if (record.onOffMode == OnOffMode::AlwaysOn) {
        record.start = {type.InputMin(), speed1};
        record.onPoint.y = speed1;
    } else if (record.onOffMode == OnOffMode::Switched) {
        record.start = {record.OnValue(), 0.0};
        record.onPoint.y = speed1;
    }
}

} // namespace

void CleanupProfile(ProfileRecord& record, const ProfileType& type) {
    const double limit = type.SpeedLimit();
    ProfilePoint& point8 = record.Point(8);
    LimitSpeed(point8.y, limit);
    record.end = {type.InputMax() + 1.0, point8.y};
    CapPoint8(point8.x, type);

    switch (record.pointMode) {
    case PointMode::MultiPoint:
        // From the top down, so each point is compared with its corrected upper neighbour.
        for (int j = reg::kPointCount; j >= 2; --j) {
            KeepBelow(record.Point(j - 1).x, record.Point(j).x, type);
        }
        KeepBelow(record.onPoint.x, record.Point(1).x, type);
        break;
    case PointMode::TwoPoint:
        KeepBelow(record.Point(1).x, point8.x, type);
        for (int j = 2; j < reg::kPointCount; ++j) {
            record.Point(j).x = type.Snap(point8.x - type.Step());
        }
        break;
    case PointMode::None:
        for (int j = 1; j < reg::kPointCount; ++j) {
            record.Point(j).x = 0.0;
        }
        record.onPoint.x = 0.0;
        break;
    }

    // The ON and OFF registers hold whole units: one whole unit apart, voltages too.
    if (std::trunc(record.Point(1).x) <= std::trunc(record.OnValue())) {
        record.onPoint.x = type.Snap(record.Point(1).x - 1.0);
    }
    KeepStorable(record.onPoint.x);
    if (std::trunc(record.offValue) >= std::trunc(record.OnValue())) {
        record.offValue = type.Snap(record.OnValue() - 1.0);
    }
    KeepStorable(record.offValue);

    for (int j = reg::kPointCount - 1; j >= 1; --j) {
        LimitSpeed(record.Point(j).y, limit);
    }
    LimitSpeed(record.onPoint.y, limit);
    DeriveStart(record, type);
}

void DeriveCurveEnds(ProfileRecord& record, const ProfileType& type) {
    record.end = {type.InputMax() + 1.0, record.Point(8).y};
    DeriveStart(record, type);
}

} // namespace orvane::profile
