#pragma once

// Where each setting lives in the register image: the one table every page, the
// register map and the command-line tools read register numbers from. Fans, points,
// alarms and sensors count from 1, as the pages label them.

#include <optional>
#include <string_view>

#include "core/image/RegisterImage.h"

namespace orvane::reg {

inline constexpr int kFanCount = 4;
inline constexpr int kPointCount = 8;
inline constexpr int kAlarmCount = 6;
inline constexpr int kSensorCount = 2;
inline constexpr int kSwitchInputCount = 2;

// Markers held in place of a value.
inline constexpr unsigned kUnused = 0xFF55;     // condition or action not used
inline constexpr unsigned kAlwaysOn = 0xFC19;   // fan without ON/OFF values
inline constexpr unsigned kUnassigned = 0xFFFF; // word the template leaves free

// Fan Setting page.
constexpr int FanUsed(int fan) {
    return fan - 1;
}
constexpr int FanMaxRpm(int fan) {
    return 292 + fan - 1;
}
constexpr int FanRampRate(int fan) {
    return 296 + fan - 1;
}
constexpr int FanPulsesPerRev(int fan) {
    return 310 + fan - 1;
}
constexpr int FanStationaryPwm(int fan) {
    return 314 + fan - 1;
}
constexpr int FanControlType(int fan) {
    return 318 + fan - 1;
}
inline constexpr int kPwmFrequency = 180;

// Multi Point/Speed page.
constexpr int PointInput(int fan, int point) {
    return 4 + 4 * (point - 1) + fan - 1;
}
constexpr int PointSpeed(int fan, int point) {
    return 39 + 4 * (point - 1) + fan - 1;
}
constexpr int FanOffValue(int fan) {
    return 161 + fan - 1;
}
constexpr int FanInput1Active(int fan) {
    return 165 + fan - 1;
}
constexpr int FanInput2Active(int fan) {
    return 169 + fan - 1;
}
constexpr int FanOnValue(int fan) {
    return 173 + fan - 1;
}

// Alarm Config. page.
constexpr int AlarmSwitchInput(int alarm, int input) {
    return 73 + 2 * (alarm - 1) + input - 1;
}
constexpr int AlarmSensorFail(int alarm, int sensor) {
    return 88 + 2 * (alarm - 1) + sensor - 1;
}
constexpr int AlarmLowLimit(int alarm, int sensor) {
    return 100 + 2 * (alarm - 1) + sensor - 1;
}
constexpr int AlarmHighLimit(int alarm, int sensor) {
    return 112 + 2 * (alarm - 1) + sensor - 1;
}
constexpr int AlarmRelayState(int alarm) {
    return 124 + alarm - 1;
}
constexpr int AlarmDelta(int alarm) {
    return 130 + alarm - 1;
}
constexpr int AlarmFanAction(int alarm, int fan) {
    return 136 + 4 * (alarm - 1) + fan - 1;
}
constexpr int AlarmHysteresis(int alarm) {
    return 300 + alarm - 1;
}
constexpr int AlarmFanFail(int alarm, int fan) {
    return 323 + 4 * (alarm - 1) + fan - 1;
}

// Mode page.
inline constexpr int kProjectMode = 182;
inline constexpr int kControlMode = 183;

// ModBus page.
inline constexpr int kRs485Address = 181;
inline constexpr int kSerialSettings = 185;
inline constexpr int kCustomerNumber = 306;
inline constexpr int kSiteNumber = 307;
inline constexpr int kBuildingNumber = 308;
inline constexpr int kUnitNumber = 309;

// Register 185: parity code in bits 0 and 1, 19200 baud in bit 4.
inline constexpr unsigned kParityMask = 0x03;
inline constexpr unsigned kBaud19200Bit = 0x10;

// Option bits of register 184 besides the log enable bit (kLogEnableBit).
inline constexpr unsigned kDailyFanRunBit = 0x10;
inline constexpr unsigned kDummyFanLinkBit = 0x08;
inline constexpr unsigned kMultiPointBit = 0x04;
inline constexpr unsigned kPowerRelayBit = 0x02;

// Register 183: what the sensors measure and how fan speeds are set.
enum class ControlMode : unsigned {
    TemperaturePwm = 1,
    TemperatureRpm = 2,
    VoltagePwm = 3,
    VoltageRpm = 4,
};

// Register 183's text as a mode: exactly "0001" to "0004"; any other text is none.
inline std::optional<ControlMode> ControlModeOf(std::string_view text) {
    if (text.size() != 4 || text.substr(0, 3) != "000" || text[3] < '1' || text[3] > '4') {
        return std::nullopt;
    }
    return static_cast<ControlMode>(text[3] - '0');
}
inline std::optional<ControlMode> ReadControlMode(const RegisterImage& image) {
    return ControlModeOf(image.Text(kControlMode));
}
inline bool MeasuresVoltage(std::optional<ControlMode> mode) {
    return mode == ControlMode::VoltagePwm || mode == ControlMode::VoltageRpm;
}
inline bool SetsRpm(std::optional<ControlMode> mode) {
    return mode == ControlMode::TemperatureRpm || mode == ControlMode::VoltageRpm;
}

// A voltage mode is exactly "0003" or "0004"; anything else reads as temperature.
inline bool IsVoltageMode(const RegisterImage& image) {
    return MeasuresVoltage(ReadControlMode(image));
}

// Fan speeds are set in RPM exactly in "0002" and "0004"; anything else is PWM percent.
inline bool IsRpmMode(const RegisterImage& image) {
    return SetsRpm(ReadControlMode(image));
}

} // namespace orvane::reg
