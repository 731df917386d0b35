#include "PlantModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Profile.h"

namespace orvane::sim {

namespace {

constexpr std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}

unsigned Word(const RegisterImage& config, int index) {
    return config.Value(index).value_or(0) & 0xFFFFu;
}

double Wave(double seconds, double period, double phase = 0) {
    return std::sin(2 * std::numbers::pi * seconds / period + phase);
}

bool FanUsed(const RegisterImage& config, int fan) {
    return Word(config, fan) == 1;
}

} // namespace

double PlantModel::DriftingValue(int sensor, bool volts, SimTime now) const {
    const double t = std::chrono::duration<double>(now).count();
    // Slow swings with a faster ripple, different per sensor, so that the fans and
    // limits have something to follow.
    if (volts) {
        return sensor == 0 ? 5.0 + 3.0 * Wave(t, 600) + 0.3 * Wave(t, 53)
                           : 4.0 + 2.5 * Wave(t, 840, 1.3) + 0.2 * Wave(t, 71);
    }
    return sensor == 0 ? 26.0 + 8.0 * Wave(t, 600) + 1.5 * Wave(t, 97)
                       : 23.0 + 5.0 * Wave(t, 900, 1.3) + 1.0 * Wave(t, 61);
}

std::optional<double> PlantModel::SensorValue(int sensor, bool volts, SimTime now) const {
    if (m_sensorFailed[Index(sensor)]) {
        return std::nullopt;
    }
    return m_sensorHeld[Index(sensor)].value_or(DriftingValue(sensor, volts, now));
}

double PlantModel::SetSpeed(const RegisterImage& config, int fan, double speedLimit) {
    const FanProfile profile = ReadFanProfile(config, fan);
    std::optional<double> input;
    const bool any = profile.input1 || profile.input2;
    for (int s = 0; s < 2; ++s) {
        const bool active = s == 0 ? (profile.input1 || !any) : profile.input2;
        if (active && m_sensors[Index(s)]) {
            // With both inputs active the hotter one has priority.
            input = std::max(input.value_or(*m_sensors[Index(s)]), *m_sensors[Index(s)]);
        }
    }
    if (!input) {
        return speedLimit; // no reading to go by: run flat out rather than let it cook
    }
    std::optional<bool>& on = m_fanSwitchedOn[Index(fan)];
    if (!profile.onValue || *input >= *profile.onValue) {
        on = true;
    } else if (*input <= *profile.offValue || !on) {
        on = false;
    }
    return *on ? CurveSpeed(profile, *input) : 0.0;
}

void PlantModel::RampFan(const RegisterImage& config, int fan, double seconds) {
    const double maxRpm = Word(config, 292 + fan);
    const double target = m_fanFailed[Index(fan)] ? 0.0 : m_targetRpm[Index(fan)];
    const double rate = Word(config, 296 + fan); // percent of the maximum per second
    double& rpm = m_rpm[Index(fan)];
    if (rate == 0 || m_fanFailed[Index(fan)]) {
        rpm = target;
        return;
    }
    const double step = std::max(maxRpm, 1.0) * rate / 100.0 * seconds;
    rpm = rpm < target ? std::min(target, rpm + step) : std::max(target, rpm - step);
}

void PlantModel::Step(const RegisterImage& config, SimTime now) {
    const ControlMode mode = ReadControlMode(config);
    const double seconds = std::chrono::duration<double>(now - m_lastStep).count();
    m_lastStep = now;
    for (int s = 0; s < 2; ++s) {
        m_sensors[Index(s)] = SensorValue(s, mode.voltageInputs, now);
    }
    m_alarms = EvaluateAlarms(config, {m_sensors, m_switchHigh, m_fanFailed}, m_alarms);
    for (int f = 0; f < 4; ++f) {
        const double maxRpm = Word(config, 292 + f);
        const double limit = mode.rpmSpeeds ? maxRpm : 100.0;
        double set = 0;
        if (FanUsed(config, f)) {
            set = AlarmFanSpeed(config, m_alarms, f).value_or(SetSpeed(config, f, limit));
        }
        set = std::clamp(set, 0.0, limit);
        const double fraction = limit > 0 ? set / limit : 0.0;
        m_setPercent[Index(f)] = fraction * 100.0;
        m_targetRpm[Index(f)] = fraction * maxRpm;
        RampFan(config, f, std::max(seconds, 0.0));
    }
}

LiveSample PlantModel::Sample(const RegisterImage& config, std::uint64_t upTimeSeconds) const {
    LiveSample sample;
    for (int f = 0; f < 4; ++f) {
        FanReading& fan = sample.fans[Index(f)];
        fan.used = FanUsed(config, f);
        fan.failed = m_fanFailed[Index(f)];
        fan.rpm = static_cast<int>(std::lround(m_rpm[Index(f)]));
        fan.setPercent = static_cast<int>(std::lround(m_setPercent[Index(f)]));
    }
    sample.sensors = m_sensors;
    sample.voltageInputs = ReadControlMode(config).voltageInputs;
    sample.switchHigh = m_switchHigh;
    for (int k = 0; k < kAlarmCount; ++k) {
        if (m_alarms[Index(k)]) {
            sample.alarms += static_cast<char>('1' + k);
        }
    }
    sample.upTimeSeconds = upTimeSeconds;
    return sample;
}

void PlantModel::Restart() {
    m_fanSwitchedOn = {};
    m_alarms = {};
    m_setPercent = {};
    m_targetRpm = {};
}

void PlantModel::SetFanFailed(int fan, bool failed) {
    if (fan >= 0 && fan < 4) {
        m_fanFailed[Index(fan)] = failed;
    }
}

void PlantModel::SetSensorFailed(int sensor, bool failed) {
    if (sensor >= 0 && sensor < 2) {
        m_sensorFailed[Index(sensor)] = failed;
    }
}

void PlantModel::HoldSensor(int sensor, std::optional<double> value) {
    if (sensor >= 0 && sensor < 2) {
        m_sensorHeld[Index(sensor)] = value;
    }
}

void PlantModel::SetSwitchInput(int input, bool high) {
    if (input >= 0 && input < 2) {
        m_switchHigh[Index(input)] = high;
    }
}

} // namespace orvane::sim
