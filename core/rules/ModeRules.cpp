#include "core/rules/ModeRules.h"

#include <array>

#include "core/image/Conversions.h"

namespace orvane {

namespace {

using reg::ControlMode;

constexpr std::array<OperatingMode, 4> kOperatingModes{{
    {"  Temperature sets PWM Output (Open Loop)", ControlMode::TemperaturePwm, 1},
    {"  Temperature sets Fan RPM (Closed Loop)", ControlMode::TemperatureRpm, 1},
    {"  0-10V input sets PWM Output (Open Loop)", ControlMode::VoltagePwm, 0},
    {"  0-10V input sets Fan RPM (Closed Loop)", ControlMode::VoltageRpm, 0},
}};

constexpr std::array<ProjectMode, 8> kProjectModes{{
    {"Undefined Project Mode", 0x5A},
    {"0 : Project Specific Mode unused", 0},
    {"1 : Project 12185, Master", 1},
    {"2 : Project 12185, Slave", 2},
    {"3 : Project 12190 or 12632, Eco", 3},
    {"4 : Webserver RS485 Slave", 4},
    {"5 : NTC2 Switch Silences Alarm Output 1", 5},
    {"6 : MODBUS_FCU", 6},
}};

} // namespace

std::span<const OperatingMode> OperatingModes() {
    return kOperatingModes;
}

std::string ApplyOperatingMode(RegisterImage& image, ControlMode mode) {
    const auto number = static_cast<unsigned>(mode);
    image.SetValue(reg::kControlMode, number);
    const unsigned hysteresis = kOperatingModes.at(number - 1).hysteresis;
    for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
        image.SetValue(reg::AlarmHysteresis(alarm), hysteresis);
    }
    return FormatDecimal(number);
}

std::optional<ControlMode> ShownOperatingMode(const RegisterImage& image) {
    const int number = ScanDecimal(image.Text(reg::kControlMode)).value_or(0);
    if (number < 1 || number > 4) {
        return std::nullopt;
    }
    return static_cast<ControlMode>(number);
}

std::span<const ProjectMode> ProjectModes() {
    return kProjectModes;
}

std::string_view ShownProjectMode(const RegisterImage& image) {
    // Items 1 to 7 are modes 0 to 6; item 0 stands for every other value, and for
    // a register that holds no number.
    const auto value = image.Value(reg::kProjectMode);
    return kProjectModes[value && *value <= 6 ? *value + 1 : 0].text;
}

bool StoreProjectMode(RegisterImage& image, std::string_view itemText) {
    for (const ProjectMode& item : kProjectModes) {
        if (itemText == item.text) {
            image.SetValue(reg::kProjectMode, item.value);
            return true;
        }
    }
    return false;
}

} // namespace orvane
