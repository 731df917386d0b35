#include "core/rules/ProfileTexts.h"

namespace orvane::profile {

ProfileLabels InitialLabels() {
    return {"ON Temp.", "OFF Temp.", "Active Thermistor  (NTC)", "Temp(°C)", "Speed(%)"};
}

ProfileLabels LabelsFor(const ProfileType& type) {
    ProfileLabels labels =
        type.IsVoltage()
            ? ProfileLabels{"ON Voltage", "OFF Voltage", "Active Volt Input", "Voltage(V)", ""}
            : ProfileLabels{"ON Temp.", "OFF Temp.", "Active Thermistor  (NTC)", "Temp(°C)", ""};
    labels.speedRow = type.speed == SpeedUnit::Pwm ? "Speed(PWM%)" : "Speed(RPM)";
    return labels;
}

ProfileTooltips TooltipsFor(InputKind kind) {
    const bool voltage = kind == InputKind::Voltage;
    const std::string quantity = voltage ? "Voltage" : "Temperature";
    const std::string gap = voltage ? "by atleast  0.1V" : "by atleast 1°C";
    ProfileTooltips tips;
    tips.pointInput[0] = "Value must be greater than or equal to " + quantity + "(TON)";
    for (std::size_t i = 1; i < tips.pointInput.size(); ++i) {
        std::string& tip = tips.pointInput[i];
        tip = "Value must be greater than ";
        tip += quantity;
        tip += '(';
        tip += std::to_string(i);
        tip += ") for Multipoint or (1) for two point ";
        tip += gap;
    }
    tips.on = "Start Fan at specified " + quantity + " , value must be higher than " + quantity +
              " Fan Off";
    tips.off = quantity + " Cut-Off, value must be lower than " + quantity + " Fan Start";
    return tips;
}

} // namespace orvane::profile
