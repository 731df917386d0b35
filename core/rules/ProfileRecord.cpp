#include "core/rules/ProfileRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/image/Conversions.h"

namespace orvane::profile {

namespace {

constexpr double kSignedMin = -32768.0;
constexpr double kSignedMax = 32767.0;
constexpr double kSpeedMax = 65535.0;

} // namespace

double ProfileType::Steps(double value) const {
    if (IsVoltage()) {
        // Through hundredths, so that 2.3 - 0.1 counts as 2.2 and not as 2.1999...
        return std::trunc(std::round(value * 100.0) / 10.0);
    }
    return std::trunc(value);
}

double ProfileType::Snap(double value) const {
    return IsVoltage() ? std::round(value * 100.0) / 100.0 : value;
}

std::optional<ProfileType> ReadProfileType(const RegisterImage& image) {
    const std::optional<reg::ControlMode> mode = reg::ReadControlMode(image);
    if (!mode) {
        return std::nullopt;
    }
    return ProfileType{reg::MeasuresVoltage(mode) ? InputKind::Voltage : InputKind::Temperature,
                       reg::SetsRpm(mode) ? SpeedUnit::Rpm : SpeedUnit::Pwm,
                       HighestDataSheetRpm(image)};
}

unsigned HighestDataSheetRpm(const RegisterImage& image) {
    unsigned highest = 0;
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        highest = std::max(highest, image.Value(reg::FanMaxRpm(fan)).value_or(0) & 0xFFFFu);
    }
    return highest;
}

double PointInputFromText(std::string_view text, InputKind kind) {
    if (kind == InputKind::Voltage) {
        const double hundredths = std::round(ScanReal(text).value_or(0.0) * 100.0);
        return std::clamp(hundredths, kSignedMin, kSignedMax) / 100.0;
    }
    return OnOffFromText(text);
}

double SpeedFromText(std::string_view text) {
    return std::clamp(double(ScanDecimal(text).value_or(0)), 0.0, kSpeedMax);
}

double OnOffFromText(std::string_view text) {
    return std::clamp(double(ScanDecimal(text).value_or(0)), kSignedMin, kSignedMax);
}

double StorableOnOff(double value) {
    static const double kMarker = SignedWord(reg::kAlwaysOn);
    const double whole = std::clamp(std::trunc(value), kSignedMin, kSignedMax);
    return whole == kMarker ? whole - 1.0 : whole;
}

std::string FormatPointInput(double value, InputKind kind) {
    if (kind == InputKind::Temperature) {
        return FormatWhole(value);
    }
    char out[64];
    // Rounded as a single-precision value, as this box always showed: 0.15 V reads "0.2".
    std::snprintf(out, sizeof out, "%2.1f", double(static_cast<float>(value)));
    return out;
}

std::string FormatWhole(double value) {
    return FormatDecimal(
        static_cast<long>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0)));
}

} // namespace orvane::profile
