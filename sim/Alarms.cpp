#include "Alarms.h"

#include <cmath>

#include "Profile.h"

namespace orvane::sim {

namespace {

constexpr unsigned kUnused = 0xFF55;
constexpr unsigned kPowerRelayBit = 0x02;

std::optional<unsigned> Word(const RegisterImage& config, int index) {
    const auto value = config.Value(index);
    if (!value || (*value & 0xFFFFu) == kUnused) {
        return std::nullopt;
    }
    return *value & 0xFFFFu;
}

// Limits, delta and hysteresis: whole °C, or hundredths of a volt.
double SensorUnits(unsigned word, bool volts) {
    return volts ? SignedWord(word) / 100.0 : SignedWord(word);
}

bool SwitchCondition(const RegisterImage& config, int index, bool high) {
    const auto level = Word(config, index);
    return level && ((*level == 1) == high) && *level <= 1;
}

bool LimitConditions(const RegisterImage& config, const AlarmInputs& in, int k, bool volts,
                     double slack) {
    const auto& s = in.sensors;
    for (int n = 0; n < 2; ++n) {
        if (!s[static_cast<std::size_t>(n)]) {
            continue;
        }
        const double value = *s[static_cast<std::size_t>(n)];
        if (const auto low = Word(config, 100 + 2 * k + n);
            low && value < SensorUnits(*low, volts) + slack) {
            return true;
        }
        if (const auto high = Word(config, 112 + 2 * k + n);
            high && value > SensorUnits(*high, volts) - slack) {
            return true;
        }
    }
    if (const auto delta = Word(config, 130 + k);
        delta && s[0] && s[1] && std::fabs(*s[0] - *s[1]) > SensorUnits(*delta, volts) - slack) {
        return true;
    }
    return false;
}

bool AlarmRaised(const RegisterImage& config, const AlarmInputs& in, int k, bool wasRaised) {
    const bool volts = ReadControlMode(config).voltageInputs;
    if (SwitchCondition(config, 73 + 2 * k, in.switchHigh[0]) ||
        SwitchCondition(config, 74 + 2 * k, in.switchHigh[1])) {
        return true;
    }
    if ((Word(config, 88 + 2 * k) == 1u && !in.sensors[0]) ||
        (Word(config, 89 + 2 * k) == 2u && !in.sensors[1])) {
        return true;
    }
    for (int f = 0; f < 4; ++f) {
        if (in.fanFailed[static_cast<std::size_t>(f)] &&
            Word(config, 323 + 4 * k + f) == static_cast<unsigned>(f + 1)) {
            return true;
        }
    }
    const double hysteresis = wasRaised
                                  ? (volts ? Word(config, 300 + k).value_or(0) / 100.0
                                           : static_cast<double>(Word(config, 300 + k).value_or(0)))
                                  : 0.0;
    return LimitConditions(config, in, k, volts, hysteresis);
}

} // namespace

AlarmStates EvaluateAlarms(const RegisterImage& config, const AlarmInputs& inputs,
                           const AlarmStates& raisedBefore) {
    AlarmStates raised{};
    const int count = config.OptionBit(kPowerRelayBit) ? kAlarmCount : 4;
    for (int k = 0; k < count; ++k) {
        raised[static_cast<std::size_t>(k)] =
            AlarmRaised(config, inputs, k, raisedBefore[static_cast<std::size_t>(k)]);
    }
    return raised;
}

std::optional<double> AlarmFanSpeed(const RegisterImage& config, const AlarmStates& raised,
                                    int fan) {
    for (int k = 0; k < kAlarmCount; ++k) {
        if (!raised[static_cast<std::size_t>(k)]) {
            continue;
        }
        if (const auto speed = Word(config, 136 + 4 * k + fan)) {
            return static_cast<double>(*speed);
        }
    }
    return std::nullopt;
}

} // namespace orvane::sim
